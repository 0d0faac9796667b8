// The main window's start-up and "Beenden", on real files, under the offscreen platform.
#include "platform/dialogunits.h"
#include "ui/aboutdlg.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velmaro;
using namespace velmaro::test;

namespace {
const std::string kBeispiel = std::string("\x01"
                                          "5"
                                          "\x07"
                                          "ARTIKEL"
                                          "\x04"
                                          "Test"
                                          "\x0A"
                                          "Hallo Welt",
                                          26) +
                              std::string("\0\0\0\0\0\0\0\0\xD0\x6D\xE2\x40", 12) +
                              std::string("\x04"
                                          "ENDE",
                                          5);
const QString kFtpMeldung =
    QStringLiteral("Konfigurationsdatei für die FTP-Einstellungen konnte\nnicht geöffnet "
                   "werden. Oder es wurden\nnoch keine Einstellungen getätigt. ");
const QString kEreignis1 =
    QStringLiteral("Wählen Sie einen Funktion aus dem Artikel Menu.\nSie können einen neuen "
                   "Artikel anlegen oder\neinen Artikel zum Bearbeiten öffnen.");

QStringList zeilen(const QListWidget* l) {
    QStringList z;
    for (int i = 0; i < l->count(); ++i)
        z << l->item(i)->text();
    return z;
}
} // namespace

class VelmaroDlgTest : public QObject {
    Q_OBJECT
private slots:
    void startOnExampleFileAndBeendenWritesItBack() {
        TempDir dir;
        writeFile(dir / "data/daten.bit", kBeispiel);
        writeFile(dir / "data/ftpconfig.bit", "Meine Seite\r\nftp.example.org\r\nich\r\ngeheim");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());

        QCOMPARE(zeilen(dlg.m_listeArtikel), QStringList{QStringLiteral("01.05.2003 : Test")});
        QCOMPARE(dlg.m_listeArtikel->selectedItems().size(), 0);
        QCOMPARE(dlg.m_comboProSeite->currentIndex(), 0);
        QCOMPARE(dlg.m_comboProSeite->currentText(), QStringLiteral("5"));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis1);
        QCOMPARE(dlg.m_einstellungen[1], std::string("ftp.example.org"));
        QVERIFY(boxen.nachrichten().isEmpty());

        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(readFile(dir / "data/daten.bit"), kBeispiel);
        QCOMPARE(readFile(dir / "data/ftpconfig.bit"),
                 std::string("Meine Seite\r\nftp.example.org\r\nich\r\ngeheim"));
        QCOMPARE(readFile(dir / "data/styleconfig.bit"), std::string(32, '\0'));
    }

    void firstStartOnEmptyFolder() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten()[0].text, kFtpMeldung);
        QCOMPARE(boxen.nachrichten()[0].titel, QStringLiteral("Fehler"));
        QCOMPARE(dlg.m_listeArtikel->count(), 0);
        QCOMPARE(dlg.m_comboProSeite->currentIndex(), -1);
        QCOMPARE(dlg.m_comboProSeite->count(), 5);
        QCOMPARE(dlg.m_ereignis->text(), kEreignis1);
        QCOMPARE(dlg.m_ctrlDatum->date(), QDate::currentDate());

        // "Beenden" creates data/ with all three files, and the next start finds the FTP file.
        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(readFile(dir / "data/daten.bit"), std::string("\0\x04"
                                                               "ENDE",
                                                               6));
        QCOMPARE(readFile(dir / "data/ftpconfig.bit"), std::string("\r\n\r\n\r\n"));
        boxen.leeren();
        VelmaroDlg wieder(dir.path());
        QVERIFY(boxen.nachrichten().isEmpty());
    }

    void perPageValueSelectsItsEntry() {
        for (const auto& [wert, index] : {std::pair{"7", 2}, {"9", 4}, {"12", -1}, {"", -1}, {"4", -1}}) {
            TempDir dir;
            VelmaroZustand z;
            z.m_ordner = dir.path();
            z.m_marker = {"ARTIKEL", "ENDE"};
            z.m_artikelProSeite = wert;
            QVERIFY(z.DateienSchreiben().empty());
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            QCOMPARE(dlg.m_comboProSeite->currentIndex(), index);
        }
    }

    void controlsAsTheTemplateHasThem() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Content Management vom Dorvent"));
        // Disabled at start: the fields and three article buttons; everything else enabled.
        for (QWidget* w : QList<QWidget*>{dlg.m_editUeberschrift, dlg.m_editTextinhalt, dlg.m_ctrlDatum,
                                          dlg.m_btnSpeichern, dlg.m_btnLoeschen, dlg.m_btnBearbeiten,
                                          dlg.m_comboVorschauZeichen})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        for (QWidget* w : QList<QWidget*>{dlg.m_listeArtikel, dlg.m_btnNeu, dlg.m_btnBeenden, dlg.m_btnUpdate,
                                          dlg.m_btnKontrollseite, dlg.m_btnHomepage, dlg.m_btnFtpZugang,
                                          dlg.m_btnStylesheet, dlg.m_comboProSeite, dlg.m_checkDatum})
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(dlg.m_btnNeu->isDefault());
        QCOMPARE(dlg.m_btnNeu->text(), QStringLiteral("Neuer Artikel"));
        QCOMPARE(dlg.m_btnLoeschen->text(), QStringLiteral("Artikel löschen"));
        QCOMPARE(dlg.m_btnHomepage->text(), QStringLiteral("..:: Dorvent ::.."));
        QCOMPARE(dlg.m_checkDatum->text(), QStringLiteral("Datum anzeigen "));
        QVERIFY(!dlg.m_checkDatum->isChecked());
        QCOMPARE(dlg.m_ctrlDatum->displayFormat(), QStringLiteral("dd.MM.yyyy"));
        QVERIFY(dlg.m_ctrlDatum->calendarPopup());

        // Tab order is template order.
        const QList<QWidget*> erwartet = {
            dlg.m_editUeberschrift, dlg.m_editTextinhalt, dlg.m_btnSpeichern,  dlg.m_btnNeu,
            dlg.m_ctrlDatum,        dlg.m_btnBeenden,     dlg.m_listeArtikel,  dlg.m_btnLoeschen,
            dlg.m_btnKontrollseite, dlg.m_btnHomepage,    dlg.m_btnBearbeiten, dlg.m_btnUpdate};
        for (int i = 1; i < erwartet.size(); ++i) {
            QWidget* w = erwartet[i - 1]->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus || !erwartet.contains(w))
                w = w->nextInFocusChain();
            QCOMPARE(w, erwartet[i]);
        }

        // Fixed size in the template's proportions, the controls where the template puts them.
        QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
        // Arial 9 pt, or its metric twin, gives the template's dialog units.
        const QString familie = QFontInfo(dlg.font()).family();
        QVERIFY2(familie == QStringLiteral("Arial") || familie == QStringLiteral("Liberation Sans"),
                 qPrintable(familie));
        const DialogUnits du(dlg.font());
        QCOMPARE(dlg.size(), QSize(du.x(457), du.y(279)));
        QCOMPARE(dlg.m_listeArtikel->geometry(), du.rect(12, 16, 101, 186));
        QVERIFY(dlg.m_btnBeenden->geometry().right() < dlg.width());
        QVERIFY(dlg.m_ereignis->geometry().bottom() < dlg.height());
        QVERIFY(dlg.m_listeArtikel->geometry().left() < dlg.m_editUeberschrift->geometry().left());
    }

    void eventDisplay() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.Ereignisanzeige(0);
        QCOMPARE(dlg.m_ereignis->text(), kEreignis1);
        dlg.Ereignisanzeige(5);
        dlg.Ereignisanzeige(12);
        dlg.Ereignisanzeige(-1);
        QCOMPARE(dlg.m_ereignis->text(), QStringLiteral("Artikel wurde gespeichert!"));
        dlg.Ereignisanzeige(10);
        dlg.Ereignisanzeige(10);
        QCOMPARE(dlg.m_ereignis->text(),
                 QStringLiteral("Daten wurden erfolgreich übertragen!\nDie Website kann "
                                "nun zur Kontrolle betrachtet werden"));
        dlg.Ereignisanzeige(3);
        QCOMPARE(dlg.m_ereignisText, dlg.m_ereignis->text());
    }

    void damagedFileIsShownReportedAndKept() {
        TempDir dir;
        std::string kaputt = kBeispiel;
        kaputt.resize(kaputt.size() - 3); // "ENDE" cut short
        writeFile(dir / "data/daten.bit", kaputt);
        writeFile(dir / "data/ftpconfig.bit", "");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QCOMPARE(zeilen(dlg.m_listeArtikel), QStringList{QStringLiteral("01.05.2003 : Test")});
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten()[0].titel, QStringLiteral("Fehler"));
        QVERIFY(boxen.nachrichten()[0].text.contains(QStringLiteral("data/daten.bit")));
        QVERIFY(boxen.nachrichten()[0].text.contains(QStringLiteral("data/daten.bit.bak")));
        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QCOMPARE(readFile(dir / "data/daten.bit"), kBeispiel);
        QCOMPARE(readFile(dir / "data/daten.bit.bak"), kaputt);
    }

    void unwritableFileKeepsTheWindowOpen() {
        TempDir dir;
        writeFile(dir / "data/ftpconfig.bit", "");
        std::filesystem::create_directories(dir / "data/styleconfig.bit");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QCOMPARE(boxen.nachrichten().size(), 1);
        QVERIFY(boxen.nachrichten()[0].text.contains(QStringLiteral("data/styleconfig.bit")));
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
    }

    void aboutBoxFromTheContextMenuEntry() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QString titel, zeile;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<AboutDlg*>(QApplication::activeModalWidget());
            QVERIFY(about);
            titel = about->windowTitle();
            for (auto* l : about->findChildren<QLabel*>())
                if (l->text().startsWith(QStringLiteral("velmaro")))
                    zeile = l->text();
            QTest::mouseClick(about->findChild<QPushButton*>(), Qt::LeftButton);
        });
        dlg.SystemBefehl(0x0010);
        QCOMPARE(titel, QStringLiteral("Info über velmaro"));
        QCOMPARE(zeile, QStringLiteral("velmaro Version 1.0"));
        QVERIFY(dlg.isVisible());
    }
};

QTEST_MAIN(VelmaroDlgTest)
#include "velmarodlg_guitest.moc"
