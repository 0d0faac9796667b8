// The icon on every window and in the About box, and the folder the About box names.
#include "ui/aboutdlg.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QLabel>
#include <QTest>

using namespace velmaro;
using namespace velmaro::test;

class ProgrammIconTest : public QObject {
    Q_OBJECT

private slots:
    void fensterUndInfoboxZeigenDasIcon() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        for (int groesse : {16, 256})
            QCOMPARE(dlg.windowIcon().pixmap(groesse, groesse).width(), groesse);

        AboutDlg about(&dlg, dir.path());
        const QList<QLabel*> labels = about.findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return !l->pixmap().isNull(); }));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("ordner"))->toolTip(),
                 QString::fromStdString(dir.path().string()));
    }
};

QTEST_MAIN(ProgrammIconTest)
#include "programmicon_guitest.moc"
