// The icon on every window and in the About box, the folder the About box names, and the context
// menu's preview, with the browser replaced by an intercepted URL handler.
#include "ui/aboutdlg.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace velmaro;
using namespace velmaro::test;

class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> geoeffnet;
public slots:
    void oeffnen(const QUrl& url) { geoeffnet << url; }
};

class ProgrammIconTest : public QObject {
    Q_OBJECT

private slots:
    // The info command opens the About box, with the icon and the folder.
    void fensterUndInfoboxZeigenDasIcon() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        for (int groesse : {16, 256})
            QCOMPARE(dlg.windowIcon().pixmap(groesse, groesse).width(), groesse);
        dlg.show();
        QVERIFY(imDialog<AboutDlg>(
            [&] { dlg.OnInfo(); },
            [&](AboutDlg* about) {
                QCOMPARE(about->findChild<QLabel*>(QStringLiteral("ordner"))->toolTip(),
                         QString::fromStdString(dir.path().string()));
                const auto texte = about->findChildren<QLabel*>();
                QVERIFY(std::ranges::any_of(texte, [](QLabel* l) { return !l->pixmap().isNull(); }));
                // The version --version prints.
                QVERIFY(std::ranges::any_of(texte, [](QLabel* l) {
                    return l->text() == QStringLiteral("velmaro Version " VELMARO_VERSION);
                }));
                klicken(about->findChild<QPushButton*>());
            }));
        QVERIFY(dlg.isVisible());
    }

    void vorschauAusDemKontextmenueOeffnetDieErsteSeite() {
        TempDir dir;
        ArtikelDateiSchreiben(dir.path(), 6, "5");
        Browser browser;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "oeffnen");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();

        // The entry is chosen in the real menu, as a user would.
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* a : menu->actions())
                if (a->text() == QStringLiteral("Vorschau im Browser"))
                    a->trigger();
            menu->close();
        });
        QContextMenuEvent ereignis(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&dlg, &ereignis);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        const auto erste = dir.path() / "vorschau/inhalt1.html";
        QCOMPARE(browser.geoeffnet, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(erste.string()))});
        QVERIFY(boxen.nachrichten().isEmpty());
        QVERIFY(readFile(erste).find("Meldung 1") != std::string::npos);
        QVERIFY(std::filesystem::exists(dir.path() / "vorschau/artikel6.html"));

        // Without a new output/ the previous preview stays; a link at vorschau is refused.
        namespace fs = std::filesystem;
        const std::string vorher = readFile(erste);
        fs::rename(dir.path() / "output", dir.path() / "alt");
        writeFile(dir.path() / "output", "x");
        dlg.OnVorschau();
        QCOMPARE(readFile(erste), vorher);
        fs::remove(dir.path() / "output");
        fs::rename(dir.path() / "alt", dir.path() / "output");
        fs::rename(dir.path() / "vorschau", dir.path() / "alt");
        fs::create_directory(dir.path() / "draussen");
        fs::create_symlink(dir.path() / "draussen", dir.path() / "vorschau");
        dlg.OnVorschau();
        QVERIFY(fs::is_empty(dir.path() / "draussen"));
        QCOMPARE(boxen.texte().size(), 2);
        QVERIFY(boxen.texte()[1].contains(QStringLiteral("symbolischer Verweis")));
        QCOMPARE(browser.geoeffnet.size(), 1);
    }
};

QTEST_MAIN(ProgrammIconTest)
#include "programmicon_guitest.moc"
