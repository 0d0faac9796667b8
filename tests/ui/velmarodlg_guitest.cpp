// The main window's start-up and "Beenden", on real files, under the offscreen platform.
#include "ui/velmarodlg.h"

#include "../support/beispiel.h"
#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <optional>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;

class VelmaroDlgTest : public QObject {
    Q_OBJECT
private slots:
    // The start-up reads what there is and tells what is missing or damaged, in one message; of the
    // article controls only the list and "Neuer Artikel" start enabled. "Beenden"
    // writes all three files (a first start chooses five per page, which it stores).
    void startAndBeenden() {
        const std::string kaputt = kBeispielDaten.substr(0, kBeispielDaten.size() - 3); // "ENDE" cut
        const QString test = u"l..n.... | 01.05.2003 : Test"_s;
        const struct {
            std::optional<std::string> daten, ftp;
            bool meldung;
            QString stand;
            std::string danach;
        } faelle[] = {
            {kBeispielDaten, "Seite\r\nftp.example.org\r\nich\r\ngeheim", false, test, kBeispielDaten},
            {{}, {}, true, u"l..n...."_s, std::string("\0015\004ENDE")},
            {kaputt, "\r\n\r\n\r\n", true, test, kBeispielDaten}};
        for (const auto& f : faelle) {
            TempDir dir;
            if (f.daten)
                writeFile(dir / "data/daten.bit", *f.daten);
            if (f.ftp)
                writeFile(dir / "data/ftpconfig.bit", *f.ftp);
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            QCOMPARE(boxen.texte().size(), int(f.meldung));
            QCOMPARE(stand(dlg), f.stand);

            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QCOMPARE(readFile(dir / "data/daten.bit"), f.danach);
            QCOMPARE(readFile(dir / "data/ftpconfig.bit"), f.ftp.value_or("\r\n\r\n\r\n"));
            QCOMPARE(readFile(dir / "data/styleconfig.bit"), std::string(32, '\0'));
            QVERIFY(f.daten != kaputt || readFile(dir / "data/daten.bit.bak") == kaputt);
        }
    }

    // An existing file's value is kept, even an empty one.
    void perPageValueSelectsItsEntry() {
        for (const char* wert : {"7", "12", ""}) {
            TempDir dir;
            ArtikelDateiSchreiben(dir.path(), 0, wert);
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            QCOMPARE(dlg.m_zustand.m_artikelProSeite, std::string(wert));
        }
    }
};

QTEST_MAIN(VelmaroDlgTest)
#include "velmarodlg_guitest.moc"
