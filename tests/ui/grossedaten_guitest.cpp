// Large inputs through the real window, run by make stress: 100,000 articles and one of 10 MB are
// loaded, listed, turned into pages and saved back unchanged.
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/updateabwarten.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velmaro;
using namespace velmaro::test;

class GrosseDatenTest : public QObject {
    Q_OBJECT
private slots:
    void hunderttausendArtikelUndEinerMitZehnMegabyte() {
        constexpr int kArtikel = 100000, kGross = 50000;
        std::string gross;
        for (int i = 0; gross.size() < 10 * 1024 * 1024; ++i)
            gross += "Zeile " + std::to_string(i) + " des Berichts mit \xE4\xF6\xFC und \x80.\r\n";
        TempDir dir;
        VelmaroZustand z;
        z.m_ordner = dir.path();
        z.m_artikelProSeite = "9";
        for (int i = 0; i < kArtikel; ++i)
            z.m_artikelListe.addTail({DateTime::fromParts(2020 - i / 365, 1 + i % 12, 1 + i % 28),
                                      "Meldung " + std::to_string(i), i == kGross ? gross : "Text"});
        QVERIFY(z.DateienSchreiben().empty());
        const std::string gespeichert = readFile(dir / "data/daten.bit");

        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QCOMPARE(dlg.m_editor.m_listeArtikel->count(), kArtikel);
        dlg.show();

        // No FTP settings: the pages are written, then the upload stops with a message.
        QVERIFY(UpdateAbwarten(
            dlg, [&] { QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton); }, 600000));
        QCOMPARE(dlg.m_letzterLauf.anzahlSeiten, (kArtikel + 8) / 9);
        QVERIFY(readFile(dir / "output" / ("artikel" + std::to_string(kGross + 1) + ".php")).find(gross) !=
                std::string::npos);

        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QVERIFY(readFile(dir / "data/daten.bit") == gespeichert);
    }
};

QTEST_MAIN(GrosseDatenTest)
#include "grossedaten_guitest.moc"
