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
#include <QPushButton>
#include <QTest>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

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

        // The button and the command write what the core writes from the window's state.
        const auto wieDerKern = [&] {
            VelmaroZustand z = dlg.m_zustand;
            z.m_ordner = kern.path();
            Erzeugen(z);
            return Ordnerinhalt(dir / "output") == Ordnerinhalt(kern / "output");
        };
        QVERIFY(UpdateAbwarten(dlg, [&] { QTest::mouseClick(knopf, Qt::LeftButton); }));
        QVERIFY(wieDerKern());

        // A pick from the per-page list is a choice.
        QTRY_COMPARE(QApplication::activeWindow(), &dlg);
        dlg.m_comboProSeite->setFocus();
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
        QCOMPARE(m_boxen.texte().size(), 1);
        QVERIFY(m_boxen.texte()[0].contains(u"kein Ordner, bei output"));
        QCOMPARE(readFile(dir / "output"), std::string("x"));
        QVERIFY(knopf->isEnabled());
    }
};

QTEST_MAIN(UpdateWebsiteTest)
#include "updatewebsite_guitest.moc"
