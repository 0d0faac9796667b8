// The main window's start-up and "Beenden", on real files, under the offscreen platform.
#include "ui/velmarodlg.h"

#include "../support/beispiel.h"
#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;

class VelmaroDlgTest : public QObject {
    Q_OBJECT
private slots:
    // The start-up reads what there is and tells what is missing or damaged; "Beenden" writes all
    // three files, so that the next start has nothing to report.
    void startAndBeenden() {
        const std::string kaputt = kBeispielDaten.substr(0, kBeispielDaten.size() - 3); // "ENDE" cut
        const QString keineFtp =
            u"Konfigurationsdatei für die FTP-Einstellungen konnte\nnicht geöffnet werden. "_s
            u"Oder es wurden\nnoch keine Einstellungen getätigt. "_s;
        const QString bak = u"Das Original bleibt als data/daten.bit.bak erhalten"_s,
                      test = u"01.05.2003 : Test"_s;
        // Missing files: no value; the box in the one message (none when empty), the one list line (if
        // any), daten.bit after "Beenden" (a first start chooses five per page, which it stores).
        const struct {
            std::optional<std::string> daten, ftp;
            QString box, zeile;
            std::string danach;
        } faelle[] = {{kBeispielDaten, "Seite\r\nftp.example.org\r\nich\r\ngeheim", {}, test, kBeispielDaten},
                      {{}, {}, keineFtp, {}, std::string("\0015\004ENDE")},
                      {kaputt, "\r\n\r\n\r\n", bak, test, kBeispielDaten}};
        for (const auto& f : faelle) {
            TempDir dir;
            if (f.daten)
                writeFile(dir / "data/daten.bit", *f.daten);
            if (f.ftp)
                writeFile(dir / "data/ftpconfig.bit", *f.ftp);
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            QCOMPARE(boxen.texte().size(), f.box.isEmpty() ? 0 : 1);
            QVERIFY(f.box.isEmpty() ||
                    (boxen.texte()[0].contains(f.box) && boxen.nachrichten()[0].titel == u"Fehler"_s));
            QCOMPARE(dlg.m_editor.m_listeArtikel->count(), f.zeile.isEmpty() ? 0 : 1);
            QVERIFY(f.zeile.isEmpty() || dlg.m_editor.m_listeArtikel->item(0)->text() == f.zeile);
            QVERIFY(dlg.m_editor.m_listeArtikel->selectedItems().isEmpty());
            QCOMPARE(dlg.m_comboProSeite->currentText(), u"5"_s);
            // Of the article controls only the list and "Neuer Artikel" start enabled.
            const ArtikelEditor& e = dlg.m_editor;
            for (QWidget* w : std::initializer_list<QWidget*>{
                     e.m_listeArtikel, e.m_btnNeu, e.m_btnSpeichern, e.m_btnLoeschen, e.m_btnBearbeiten,
                     e.m_ctrlDatum, e.m_editUeberschrift, e.m_editTextinhalt})
                QCOMPARE(w->isEnabled(), w == e.m_listeArtikel || w == e.m_btnNeu);

            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(readFile(dir / "data/daten.bit"), f.danach);
            QCOMPARE(readFile(dir / "data/ftpconfig.bit"), f.ftp.value_or("\r\n\r\n\r\n"));
            QCOMPARE(readFile(dir / "data/styleconfig.bit"), std::string(32, '\0'));
            if (f.daten == kaputt)
                QCOMPARE(readFile(dir / "data/daten.bit.bak"), kaputt);
            boxen.leeren();
            VelmaroDlg wieder(dir.path());
            QVERIFY(boxen.nachrichten().isEmpty());
        }
    }

    void perPageValueSelectsItsEntry() {
        // An existing file's value is kept, even an empty one; the field shows it.
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

    // Drawn over the window, no frame line of a group box runs through a label's text.
    void groupFramesNeverCrossText() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QImage fenster = dlg.grab().toImage();
        int geprueft = 0;
        for (QLabel* l : dlg.findChildren<QLabel*>()) {
            if (l->text().isEmpty())
                continue;
            const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect text = l->fontMetrics().boundingRect(l->contentsRect(), flags, l->text()) & l->rect();
            QVERIFY2(fenster.copy(text.translated(l->pos())) ==
                         l->grab().toImage().convertToFormat(fenster.format()).copy(text),
                     qPrintable(l->text()));
            ++geprueft;
        }
        QVERIFY(geprueft >= 10);
    }

    void unreadableFileIsLeftAloneUnwritableKeepsTheWindowOpen() {
        {
            TempDir dir;
            writeFile(dir / "data/ftpconfig.bit", "");
            std::filesystem::create_directories(dir / "data/styleconfig.bit");
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            dlg.show();
            QCOMPARE(boxen.nachrichten().size(), 1);
            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QVERIFY(boxen.texte().value(1).contains(QStringLiteral("wurde nicht überschrieben")));
            QVERIFY(!dlg.isVisible());
        }
        // data is a file: nothing can be saved, and what was typed stays in the window.
        TempDir dir;
        writeFile(dir / "data", "x");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        // One message names every file.
        QCOMPARE(boxen.nachrichten().size(), 2);
        for (const char* n : {"ftpconfig", "daten", "styleconfig"})
            QVERIFY(boxen.texte()[1].contains(
                QStringLiteral("data/%1.bit konnte nicht gespeichert").arg(QLatin1String(n))));
        QVERIFY(dlg.isVisible());
    }
};

QTEST_MAIN(VelmaroDlgTest)
#include "velmarodlg_guitest.moc"
