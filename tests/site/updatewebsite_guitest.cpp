// "Update Website" through the real main window: button 1010, menu command 134 and combo box 1016.
#include "settings/styledlg.h"
#include "site/generator.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

const QString kEreignis4 = QStringLiteral("Menu und Dateien wurden erstellt!");

// Every text the event line paints, with the state of button 1010 at that moment.
class EreignisProtokoll : public QObject {
public:
    EreignisProtokoll(QLabel* zeile, QPushButton* knopf) : m_zeile(zeile), m_knopf(knopf) {
        zeile->installEventFilter(this);
    }
    QStringList texte;
    QList<bool> knopfAn;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == m_zeile && e->type() == QEvent::Paint &&
            (texte.isEmpty() || texte.last() != m_zeile->text())) {
            texte << m_zeile->text();
            knopfAn << m_knopf->isEnabled();
        }
        return false;
    }

private:
    QLabel* m_zeile;
    QPushButton* m_knopf;
};

std::map<std::string, std::string> dateien(const fs::path& ordner) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(ordner))
        if (e.is_regular_file())
            m[e.path().filename().string()] = readFile(e.path());
    return m;
}

// n articles saved as "Beenden" saves them, with perSeite as the stored per-page value.
void datenAnlegen(const fs::path& ordner, int n, const std::string& perSeite) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_marker = {"ARTIKEL", "ENDE"};
    z.m_artikelProSeite = perSeite;
    for (int i = 1; i <= n; ++i) {
        z.m_datum = DateTime::fromParts(2005, 3, i, 8);
        z.m_ueberschrift = "Meldung " + std::to_string(i);
        z.m_textinhalt = std::string(static_cast<std::size_t>(150 + i), 'a' + static_cast<char>(i));
        z.ArtikelEinfuegen();
    }
    z.m_einstellungen[19] = "500";
    if (!z.DateienSchreiben().empty())
        throw std::runtime_error("cannot prepare data/");
}

// What the core writes from the same saved files.
std::map<std::string, std::string> erwartet(const fs::path& ordner) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_marker = {"ARTIKEL", "ENDE"};
    z.DatenDateiLesen();
    z.StyleDateiLesen();
    WebsiteErzeugen(z);
    return dateien(ordner / "output");
}

} // namespace

class UpdateWebsiteTest : public QObject {
    Q_OBJECT

    MeldungsRekorder* m_boxen = nullptr;

private slots:
    void init() { m_boxen = new MeldungsRekorder; }
    void cleanup() { delete m_boxen; }

    void buttonWritesTheSiteAndReportsEventFour() {
        TempDir dir, vergleich;
        datenAnlegen(dir.path(), 7, "5");
        datenAnlegen(vergleich.path(), 7, "5");
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        EreignisProtokoll protokoll(dlg.m_ereignis, dlg.m_btnUpdate);

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);

        QCOMPARE(dlg.m_anzahlSeiten, 2);
        QCOMPARE(dlg.m_anzahlArtikel, 7);
        QVERIFY(dlg.m_fehlendeDateien.empty());
        QCOMPARE(dateien(dir / "output"), erwartet(vergleich.path()));
        QCOMPARE(readFile(dir / "output/inhalt0.php").size(), std::size_t(40 + 2 * 160));
        // Event 4 first, shown while the button is disabled; the upload takes over after it.
        QVERIFY(!protokoll.texte.isEmpty());
        QCOMPARE(protokoll.texte.first(), kEreignis4);
        QCOMPARE(protokoll.knopfAn.first(), false);
        // The upload ends by enabling the button again.
        QVERIFY(dlg.m_btnUpdate->isEnabled());
    }

    void menuCommandDoesTheSame() {
        TempDir dir, vergleich;
        datenAnlegen(dir.path(), 6, "5");
        datenAnlegen(vergleich.path(), 6, "5");
        VelmaroDlg dlg(dir.path());
        auto* befehl = dlg.findChild<QAction*>(QStringLiteral("134"));
        QVERIFY(befehl);
        befehl->trigger();
        QCOMPARE(dlg.m_anzahlSeiten, 2);
        QCOMPARE(dlg.m_anzahlArtikel, 6);
        QCOMPARE(dateien(dir / "output"), erwartet(vergleich.path()));
    }

    void chosenPerPageValueSplitsThePages() {
        TempDir dir;
        datenAnlegen(dir.path(), 8, "");
        VelmaroDlg dlg(dir.path());
        QCOMPARE(dlg.m_comboProSeite->currentIndex(), -1);
        // Text typed into the edit field is no choice.
        QTest::keyClicks(dlg.m_comboProSeite->lineEdit(), QStringLiteral("6"));
        QCOMPARE(dlg.m_artikelProSeite, std::string());
        dlg.m_comboProSeite->lineEdit()->clear();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dlg.m_comboProSeite, Qt::Key_Down);
        QCOMPARE(dlg.m_comboProSeite->currentText(), QStringLiteral("7"));
        QCOMPARE(dlg.m_artikelProSeite, std::string("7"));

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        QCOMPARE(dlg.m_anzahlSeiten, 2);
        const std::string zweite = readFile(dir / "output/inhalt2.php");
        QVERIFY(zweite.find("sitename=artikel8.php ") != std::string::npos);
        QVERIFY(zweite.find("sitename=artikel7.php ") == std::string::npos);
    }

    void styleChangesReachTheNextRun() {
        TempDir dir;
        datenAnlegen(dir.path(), 1, "5");
        VelmaroDlg dlg(dir.path());
        QTimer::singleShot(0, [] {
            auto* s = qobject_cast<StyleDlg*>(QApplication::activeModalWidget());
            if (!s)
                return;
            QTest::keyClick(s->m_editTabelleBreite, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(s->m_editTabelleBreite, QStringLiteral("640"));
            QTest::mouseClick(s->m_checkOverBold, Qt::LeftButton);
            QTest::mouseClick(s->m_btnSpeichern, Qt::LeftButton);
        });
        QTest::mouseClick(dlg.m_btnStylesheet, Qt::LeftButton);
        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        const std::string css = readFile(dir / "output/style.css");
        QVERIFY(css.find("border-Right-Width:0px;width:640;") != std::string::npos);
        QVERIFY(css.find(";font-weight:bold;}.text{") != std::string::npos);
    }

    void laterPageThatCannotBeCreatedMarksTheRunIncomplete() {
        TempDir dir;
        datenAnlegen(dir.path(), 7, "5");
        fs::create_directories(dir / "output/inhalt2.php");
        VelmaroDlg dlg(dir.path());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        EreignisProtokoll protokoll(dlg.m_ereignis, dlg.m_btnUpdate);

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        QCOMPARE(dlg.m_anzahlSeiten, 1);
        QCOMPARE(dlg.m_anzahlArtikel, 5);
        QCOMPARE(dlg.m_fehlendeDateien, std::vector<std::string>{"inhalt2.php"});
        QVERIFY(!fs::exists(dir / "output/artikel6.php"));
        QVERIFY(protokoll.texte.size() >= 2);
        QCOMPARE(protokoll.texte[0], kEreignis4);
        QVERIFY(protokoll.texte[1].contains(QStringLiteral("nicht vollständig")));
        QVERIFY(protokoll.texte[1].contains(QStringLiteral("inhalt2.php")));
    }
};

QTEST_MAIN(UpdateWebsiteTest)
#include "updatewebsite_guitest.moc"
