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
        QCOMPARE(dlg.windowIcon().pixmap(256, 256).width(), 256); // smaller ones Qt scales down
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

    // A link at vorschau is refused. The entry is chosen in the real menu, as a user would; without a
    // new output/ the previous preview stays.
    void vorschauAusDemKontextmenueOeffnetDieErsteSeite() {
        namespace fs = std::filesystem;
        TempDir dir, draussen;
        ArtikelDateiSchreiben(dir.path(), 6, "5");
        fs::create_symlink(draussen.path(), dir / "vorschau");
        Browser browser;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "oeffnen");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();
        dlg.OnVorschau();
        QVERIFY(fs::is_empty(draussen.path()));
        QVERIFY(boxen.texte().value(0).contains(QStringLiteral("symbolischer Verweis")));
        fs::remove(dir / "vorschau");

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
        const auto vorher = Ordnerinhalt(dir / "vorschau");
        QVERIFY(vorher.at("inhalt1.html").find("Meldung 1") != std::string::npos);
        QVERIFY(vorher.contains("artikel6.html"));
        fs::remove_all(dir / "output");
        writeFile(dir / "output", "x");
        dlg.OnVorschau();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(Ordnerinhalt(dir / "vorschau"), vorher);
        QCOMPARE(boxen.texte().size(), 2);
        QCOMPARE(browser.geoeffnet, QList<QUrl>{QUrl::fromLocalFile(
                                        QString::fromStdString((dir / "vorschau/inhalt1.html").string()))});
    }
};

QTEST_MAIN(ProgrammIconTest)
#include "programmicon_guitest.moc"
