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
    // article controls only the list and "Neuer Artikel" start enabled, nothing selected. "Beenden"
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
            QVERIFY(dlg.m_editor.m_listeArtikel->selectedItems().isEmpty());
            QCOMPARE(dlg.m_comboProSeite->currentText(), u"5"_s);

            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QCOMPARE(readFile(dir / "data/daten.bit"), f.danach);
            QCOMPARE(readFile(dir / "data/ftpconfig.bit"), f.ftp.value_or("\r\n\r\n\r\n"));
            QCOMPARE(readFile(dir / "data/styleconfig.bit"), std::string(32, '\0'));
            QVERIFY(f.daten != kaputt || readFile(dir / "data/daten.bit.bak") == kaputt);
        }
    }

    // An existing file's value is kept, even an empty one; the field shows it.
    void perPageValueSelectsItsEntry() {
        for (const auto& [wert, index] : {std::pair{"7", 2}, {"9", 4}, {"12", -1}, {"4", -1}, {"", -1}}) {
            TempDir dir;
            ArtikelDateiSchreiben(dir.path(), 0, wert);
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            QCOMPARE(dlg.m_comboProSeite->currentIndex(), index);
            QCOMPARE(dlg.m_comboProSeite->currentText(), QString::fromLatin1(wert));
            QCOMPARE(dlg.m_zustand.m_artikelProSeite, std::string(wert));
        }
    }

    // A file that could not be read is left alone and named, and the window ends; when nothing can
    // be saved (data is a file), one message names every file and what was typed stays in the window.
    void unreadableFileIsLeftAloneUnwritableKeepsTheWindowOpen() {
        const std::pair<bool, QStringList> faelle[] = {
            {false, {u"data/styleconfig.bit wurde nicht überschrieben"_s}},
            {true,
             {u"data/ftpconfig.bit konnte nicht gespeichert"_s, u"data/daten.bit konnte nicht gespeichert"_s,
              u"data/styleconfig.bit konnte nicht gespeichert"_s}}};
        for (const auto& [dataIstDatei, teile] : faelle) {
            TempDir dir;
            if (dataIstDatei)
                writeFile(dir / "data", "x");
            else
                std::filesystem::create_directories(dir / "data/styleconfig.bit");
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            dlg.show();
            const qsizetype beimStart = boxen.texte().size();
            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QCOMPARE(boxen.texte().size(), beimStart + 1);
            for (const QString& teil : teile)
                QVERIFY(boxen.texte().last().contains(teil));
            QCOMPARE(dlg.isVisible(), dataIstDatei);
        }
    }
};

QTEST_MAIN(VelmaroDlgTest)
#include "velmarodlg_guitest.moc"
