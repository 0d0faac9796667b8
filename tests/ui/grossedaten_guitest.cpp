// Large inputs through the real window: 100,000 articles and one of 10 MB are loaded, listed,
// opened, turned into pages and saved back unchanged.
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <iostream>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

constexpr int kArtikel = 100000;
constexpr int kGrosserArtikel = 50000; // its place in the list
const std::string kGrosseUeberschrift = "Gro\xDF"
                                        "er Bericht";

// 10 MB of text in lines, as a long report pasted into the body would be.
std::string zehnMegabyte() {
    std::string s;
    s.reserve(10 * 1024 * 1024 + 100);
    for (int i = 0; s.size() < 10 * 1024 * 1024; ++i)
        s += "Zeile " + std::to_string(i) + " des langen Berichts mit Umlauten \xE4\xF6\xFC und \x80.\r\n";
    return s;
}

} // namespace

class GrosseDatenTest : public QObject {
    Q_OBJECT
private slots:
    void hunderttausendArtikelUndEinerMitZehnMegabyte() {
        TempDir dir;
        const std::string gross = zehnMegabyte();
        {
            VelmaroZustand z;
            z.m_ordner = dir.path();
            z.m_artikelProSeite = "9";
            for (int i = 0; i < kArtikel; ++i) {
                if (i == kGrosserArtikel)
                    z.m_artikelListe.addTail({DateTime::fromParts(2020, 1, 1), kGrosseUeberschrift, gross});
                z.m_artikelListe.addTail({DateTime::fromParts(2020 - i / 365, 1 + i % 12, 1 + i % 28),
                                          "Meldung " + std::to_string(i), "Text " + std::to_string(i)});
            }
            QVERIFY(z.DateienSchreiben().empty());
        }
        const std::string gespeichert = readFile(dir / "data/daten.bit");

        MeldungsRekorder boxen;
        QElapsedTimer uhr;
        uhr.start();
        VelmaroDlg dlg(dir.path());
        std::cout << "start with " << kArtikel + 1 << " articles: " << uhr.elapsed() << " ms\n";
        QCOMPARE(dlg.m_listeArtikel->count(), kArtikel + 1);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        // Opened by keyboard from the line above it; the whole body arrives in the edit.
        dlg.m_listeArtikel->setFocus();
        dlg.m_listeArtikel->setCurrentRow(kGrosserArtikel - 1);
        QTest::keyClick(dlg.m_listeArtikel, Qt::Key_Down);
        QCOMPARE(dlg.m_editUeberschrift->text(), QStringLiteral("Großer Bericht"));
        QString erwartet = QString::fromLatin1(gross).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        erwartet.replace(QChar(0x80), QChar(0x20AC));
        QVERIFY(dlg.m_editTextinhalt->toPlainText() == erwartet);
        // The list still answers: the last line is one key away.
        QTest::keyClick(dlg.m_listeArtikel, Qt::Key_End);
        QCOMPARE(dlg.m_editUeberschrift->text(), QStringLiteral("Meldung %1").arg(kArtikel - 1));

        // Pages for all of them; there are no FTP settings, so the upload stops with a message.
        boxen.leeren();
        uhr.restart();
        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        std::cout << "pages for " << kArtikel + 1 << " articles: " << uhr.elapsed() << " ms\n";
        QCOMPARE(dlg.m_anzahlArtikel, kArtikel + 1);
        QCOMPARE(dlg.m_anzahlSeiten, (kArtikel + 1 + 8) / 9);
        QVERIFY(dlg.m_fehlendeDateien.empty());
        int dateien = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "output"))
            ++dateien;
        QCOMPARE(dateien, 1 + dlg.m_anzahlSeiten + 1 + dlg.m_anzahlArtikel);
        const std::string seite =
            readFile(dir / "output" / ("artikel" + std::to_string(kGrosserArtikel + 1) + ".php"));
        QVERIFY(seite.find(kGrosseUeberschrift) != std::string::npos);
        QVERIFY(seite.find(gross) != std::string::npos);
        const std::string letzte =
            readFile(dir / "output" / ("artikel" + std::to_string(kArtikel + 1) + ".php"));
        QVERIFY(letzte.find("Meldung " + std::to_string(kArtikel - 1)) != std::string::npos);

        // Nothing changed: "Beenden" writes the same bytes back.
        boxen.leeren();
        QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
        QVERIFY2(boxen.nachrichten().isEmpty(), qPrintable(boxen.texte().join(QLatin1Char('\n'))));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(readFile(dir / "data/daten.bit") == gespeichert);
    }
};

QTEST_MAIN(GrosseDatenTest)
#include "grossedaten_guitest.moc"
