// The preview from the main window, with the browser replaced by an intercepted URL handler.
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <QDesktopServices>
#include <QTest>
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

class VorschauTest : public QObject {
    Q_OBJECT

private slots:
    // A link at vorschau is refused: nothing is written where it points.
    void vorschauOeffnetDieErsteSeite() {
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
        QCOMPARE(boxen.texte().size(), 1);
        fs::remove(dir / "vorschau");

        dlg.OnVorschau();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        const auto vorschau = Ordnerinhalt(dir / "vorschau");
        QVERIFY(vorschau.at("inhalt1.html").find("Meldung 1") != std::string::npos);
        QVERIFY(vorschau.contains("artikel6.html"));
        QCOMPARE(browser.geoeffnet, QList<QUrl>{QUrl::fromLocalFile(
                                        QString::fromStdString((dir / "vorschau/inhalt1.html").string()))});
    }
};

QTEST_MAIN(VorschauTest)
#include "vorschau_guitest.moc"
