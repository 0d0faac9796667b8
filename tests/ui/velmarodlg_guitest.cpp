// The main window's start-up and "Beenden", on real files, under the offscreen platform.
#include "platform/dialogunits.h"
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

namespace {
const QString kEreignis1 =
    QStringLiteral("Wählen Sie einen Funktion aus dem Artikel Menu.\nSie können einen neuen "
                   "Artikel anlegen oder\neinen Artikel zum Bearbeiten öffnen.");
} // namespace

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
            QCOMPARE(dlg.m_ereignis->text(), kEreignis1);

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

    void controlsAsTheTemplateHasThem() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Content Management vom Dorvent"));
        QVERIFY(dlg.m_editor.m_btnNeu->isDefault());
        // Tab order is template order; of those, only the fields and three article buttons start disabled.
        const QList<QWidget*> reihe = {dlg.m_editor.m_editUeberschrift, dlg.m_editor.m_editTextinhalt,
                                       dlg.m_editor.m_btnSpeichern,     dlg.m_editor.m_btnNeu,
                                       dlg.m_editor.m_ctrlDatum,        dlg.m_btnBeenden,
                                       dlg.m_editor.m_listeArtikel,     dlg.m_editor.m_btnLoeschen,
                                       dlg.m_btnKontrollseite,          dlg.m_btnHomepage,
                                       dlg.m_editor.m_btnBearbeiten,    dlg.m_btnUpdate};
        const QList<bool> an = {false, false, false, true, false, true, true, false, true, true, false, true};
        for (int i = 0; i < reihe.size(); ++i) {
            QCOMPARE(reihe[i]->isEnabled(), an[i]);
            QWidget* w = reihe[i]->nextInFocusChain();
            while (i + 1 < reihe.size() && !reihe.contains(w))
                w = w->nextInFocusChain();
            if (i + 1 < reihe.size())
                QCOMPARE(w, reihe[i + 1]);
        }
        // The template's size in dialog units, fixed.
        const DialogUnits du(dlg.font());
        QCOMPARE(dlg.minimumSize(), QSize(du.x(457), du.y(279)));
        QCOMPARE(dlg.maximumSize(), dlg.minimumSize());
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

    void eventDisplayKeepsTheLastValidText() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.Ereignisanzeige(5);
        for (int ungueltig : {0, 3, 17, -1})
            dlg.Ereignisanzeige(ungueltig);
        QCOMPARE(dlg.m_ereignis->text(), QStringLiteral("Artikel wurde gespeichert!"));
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
            QVERIFY(boxen.texte()[0].contains(QStringLiteral("data/styleconfig.bit")));
            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QCOMPARE(boxen.nachrichten().size(), 2);
            QVERIFY(
                boxen.texte()[1].contains(QStringLiteral("data/styleconfig.bit wurde nicht überschrieben")));
            QVERIFY(!dlg.isVisible());
            QVERIFY(std::filesystem::is_directory(dir / "data/styleconfig.bit"));
        }
        // data is a file: nothing can be saved, and what was typed stays in the window.
        TempDir dir;
        writeFile(dir / "data", "x");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QCOMPARE(boxen.nachrichten().size(), 4);
        QVERIFY(boxen.texte()[3].contains(QStringLiteral("data/styleconfig.bit konnte nicht gespeichert")));
        QVERIFY(dlg.isVisible());
    }
};

QTEST_MAIN(VelmaroDlgTest)
#include "velmarodlg_guitest.moc"
