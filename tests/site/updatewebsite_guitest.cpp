// "Update Website" through the real main window: button 1010, menu command 134 and combo box 1016.
// The bytes are the core's; here only what the window adds.
#include "site/generator.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"
#include "../support/updateabwarten.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {

// The texts the event line paints, each with whether button 1010 was enabled then.
struct Protokoll : QObject {
    QLabel* zeile;
    QPushButton* knopf;
    QList<std::pair<QString, bool>> eintraege;
    Protokoll(QLabel* z, QPushButton* k) : zeile(z), knopf(k) { z->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && (eintraege.isEmpty() || eintraege.last().first != zeile->text()))
            eintraege.append({zeile->text(), knopf->isEnabled()});
        return false;
    }
};

} // namespace

class UpdateWebsiteTest : public QObject {
    Q_OBJECT

    MeldungsRekorder m_boxen; // the boxes about the missing files in data/

private slots:
    void buttonCommandAndPerPageChoice() {
        TempDir dir, kern;
        VelmaroDlg dlg(dir.path());
        // Eight articles; a first start chooses five per page.
        for (int i = 1; i <= 8; ++i)
            dlg.m_zustand.m_artikelListe.addTail(
                {DateTime::fromParts(2005, 3, i, 8), "Meldung " + std::to_string(i), "Text"});
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QPushButton* knopf = dlg.m_btnUpdate;
        Protokoll protokoll(dlg.m_ereignis, knopf);

        // The button and the command write what the core writes from the window's state.
        const auto wieDerKern = [&] {
            VelmaroZustand z = dlg.m_zustand;
            z.m_ordner = kern.path();
            Erzeugen(z);
            return Ordnerinhalt(dir / "output") == Ordnerinhalt(kern / "output");
        };
        QVERIFY(UpdateAbwarten(dlg, [&] { QTest::mouseClick(knopf, Qt::LeftButton); }));
        QVERIFY(wieDerKern());
        // Event 4 while the button is off; then DatenUebertragen takes over and turns it on again.
        QCOMPARE(protokoll.eintraege.mid(0, 2),
                 (QList<std::pair<QString, bool>>{{u"Menu und Dateien wurden erstellt!"_s, false},
                                                  {u"Verbindung zum Server wird hergestellt!"_s, false}}));
        QVERIFY(knopf->isEnabled());

        // Text typed into the combo box's edit field is no choice, whether Return or Tab ends it, and
        // the field shows the value in force again; a pick from the list is a choice.
        QTRY_COMPARE(QApplication::activeWindow(), &dlg);
        for (const auto taste : {Qt::Key_Return, Qt::Key_Tab}) {
            dlg.m_comboProSeite->setFocus();
            dlg.m_comboProSeite->lineEdit()->selectAll();
            QTest::keyClicks(dlg.m_comboProSeite, QStringLiteral("6"));
            QTest::keyClick(dlg.m_comboProSeite, taste);
            QCOMPARE(dlg.m_zustand.m_artikelProSeite, std::string("5"));
            QCOMPARE(dlg.m_comboProSeite->currentText(), QStringLiteral("5"));
        }
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(dlg.m_comboProSeite, Qt::Key_Down);
        QCOMPARE(dlg.m_zustand.m_artikelProSeite, std::string("7"));

        // The command runs with the choice. When output/ cannot be replaced (it is a file), the cause
        // is reported and nothing is uploaded (no settings: any attempt would add a box of its own).
        QVERIFY(UpdateAbwarten(dlg, [&] { dlg.m_befehlUpdate->trigger(); }));
        QVERIFY(wieDerKern());
        fs::remove_all(dir / "output");
        writeFile(dir / "output", "x");
        m_boxen.leeren();
        QVERIFY(UpdateAbwarten(dlg, [&] { dlg.m_befehlUpdate->trigger(); }));
        QCOMPARE(dlg.m_ereignis->text(),
                 u"Die Dateien wurden nicht erstellt!\nein Teil des Pfads ist kein Ordner, bei output"_s);
        QCOMPARE(m_boxen.texte().size(), 1);
        QVERIFY(
            m_boxen.texte()[0].contains(u"kein Ordner, bei output); er enthält weiter die vorige Website"));
        QCOMPARE(readFile(dir / "output"), std::string("x"));
        QVERIFY(knopf->isEnabled());
    }
};

QTEST_MAIN(UpdateWebsiteTest)
#include "updatewebsite_guitest.moc"
