// The style dialog opened from the real main window, driven through its controls.
#include "settings/styledlg.h"
#include "site/generator.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace velmaro;
using namespace velmaro::test;

namespace {

// The ids of the sixteen text controls, in the order of m_einstellungen[4..19].
const char* const kTextIds[16] = {"1029", "1019", "1030", "1012", "1031", "1005", "1021", "1006",
                                  "1011", "1017", "1007", "1008", "1014", "1018", "1013", "1009"};

QString feldText(StyleDlg* s, const char* id) {
    if (auto* e = s->findChild<QLineEdit*>(QString::fromLatin1(id), Qt::FindDirectChildrenOnly))
        return e->text();
    return s->findChild<QComboBox*>(QString::fromLatin1(id))->currentText();
}

QLineEdit* editFeld(StyleDlg* s, const char* id) {
    if (auto* e = s->findChild<QLineEdit*>(QString::fromLatin1(id), Qt::FindDirectChildrenOnly))
        return e;
    return s->findChild<QComboBox*>(QString::fromLatin1(id))->lineEdit();
}

// Types text as key presses; QTest::keyClicks knows only ASCII.
void tippen(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void ersetzen(QLineEdit* e, const QString& text) {
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    tippen(e, text);
}

QStringList eintraege(const QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i)
        l << c->itemText(i);
    return l;
}

struct Werte {
    std::array<std::string, 20> einstellungen;
    std::int32_t flags[4];
    bool operator==(const Werte& o) const {
        return einstellungen == o.einstellungen && std::equal(flags, flags + 4, o.flags);
    }
};

Werte werte(const VelmaroDlg& d) {
    return {d.m_einstellungen, {d.m_datumBold, d.m_datumUnderline, d.m_overBold, d.m_overUnderline}};
}

} // namespace

class StyleDlgTest : public QObject {
    Q_OBJECT

    TempDir m_dir;
    MeldungsRekorder* m_boxen = nullptr;

    // Clicks "Go" beside "Stylesheet anpassen" and runs tun on the dialog while it is open; the
    // dialog is cancelled afterwards if tun left it open.
    void imDialog(VelmaroDlg& dlg, const std::function<void(StyleDlg*)>& tun) {
        bool gelaufen = false;
        QTimer::singleShot(0, [&] {
            auto* s = qobject_cast<StyleDlg*>(QApplication::activeModalWidget());
            if (!s)
                return;
            gelaufen = true;
            tun(s);
            if (s->isVisible())
                s->reject();
        });
        QTest::mouseClick(dlg.m_btnStylesheet, Qt::LeftButton);
        QVERIFY(gelaufen);
    }

    void beispielWerte(VelmaroDlg& dlg) {
        for (int i = 4; i < 20; ++i)
            dlg.m_einstellungen[i] = "#" + std::to_string(i) + "0";
        dlg.m_einstellungen[8] = "Comic Sans MS";
        dlg.m_einstellungen[13] = "Verdana";
        dlg.m_einstellungen[17] = "";
        dlg.m_datumBold = 1;
        dlg.m_overUnderline = 1;
    }

private slots:
    void init() {
        writeFile(m_dir / "data/ftpconfig.bit", "\r\n\r\n\r\n");
        m_boxen = new MeldungsRekorder;
    }
    void cleanup() {
        delete m_boxen;
        QVERIFY(!QApplication::activeModalWidget());
    }

    void showsTheValuesAndFillsTheFontLists() {
        VelmaroDlg dlg(m_dir.path());
        beispielWerte(dlg);
        imDialog(dlg, [&](StyleDlg* s) {
            QCOMPARE(s->windowTitle(), QStringLiteral("Stylesheet anpassen"));
            for (int i = 0; i < 16; ++i)
                QCOMPARE(feldText(s, kTextIds[i]), QString::fromStdString(dlg.m_einstellungen[i + 4]));
            QVERIFY(s->m_checkDatumBold->isChecked());
            QVERIFY(!s->m_checkDatumUnderline->isChecked());
            QVERIFY(!s->m_checkOverBold->isChecked());
            QVERIFY(s->m_checkOverUnderline->isChecked());

            const QStringList datum = {QStringLiteral("Arial"), QStringLiteral("Verdana"),
                                       QStringLiteral("Times New Roman")};
            const QStringList andere = {QStringLiteral("Arial"), QStringLiteral("Verdana"),
                                        QStringLiteral("New Roman")};
            QCOMPARE(eintraege(s->m_comboDatumSchrift), datum);
            QCOMPARE(eintraege(s->m_comboOverSchrift), andere);
            QCOMPARE(eintraege(s->m_comboTextSchrift), andere);
            // A stored name is shown as typed, also one that is not in the list.
            QCOMPARE(s->m_comboDatumSchrift->currentText(), QStringLiteral("Comic Sans MS"));
            QCOMPARE(s->m_comboTextSchrift->currentText(), QString());

            QVERIFY(!s->m_editBildHorizontal->isEnabled());
            QVERIFY(!s->m_editBildVertikal->isEnabled());
            QVERIFY(s->m_btnSpeichern->isDefault());
            QCOMPARE(s->focusWidget(), static_cast<QWidget*>(s->m_editDatumHintergrund));
            s->m_btnAbbrechen->click();
        });
    }

    void speichernTakesEveryControl() {
        VelmaroDlg dlg(m_dir.path());
        beispielWerte(dlg);
        imDialog(dlg, [&](StyleDlg* s) {
            for (int i = 0; i < 16; ++i)
                ersetzen(editFeld(s, kTextIds[i]), QStringLiteral("n%1").arg(i + 4));
            ersetzen(s->m_editDatumGroesse, QStringLiteral("Größe; }"));
            ersetzen(s->m_comboOverSchrift->lineEdit(), QStringLiteral("Georgia"));
            // Down picks the list's entries in turn.
            s->m_comboTextSchrift->setFocus();
            QTest::keyClick(s->m_comboTextSchrift, Qt::Key_Down);
            QTest::keyClick(s->m_comboTextSchrift, Qt::Key_Down);
            QTest::mouseClick(s->m_checkDatumBold, Qt::LeftButton);
            QTest::mouseClick(s->m_checkDatumUnderline, Qt::LeftButton);
            QTest::mouseClick(s->m_checkOverBold, Qt::LeftButton);
            QTest::mouseClick(s->m_checkOverUnderline, Qt::LeftButton);
            QTest::mouseClick(s->m_btnSpeichern, Qt::LeftButton);
            QVERIFY(!s->isVisible());
            QCOMPARE(s->result(), int(QDialog::Accepted));
        });
        for (int i = 4; i < 20; ++i) {
            if (i != 7 && i != 13 && i != 17)
                QCOMPARE(dlg.m_einstellungen[i], "n" + std::to_string(i));
        }
        QCOMPARE(dlg.m_einstellungen[7], std::string("Gr\xF6\xDF"
                                                     "e; }"));
        QCOMPARE(dlg.m_einstellungen[13], std::string("Georgia"));
        QCOMPARE(dlg.m_einstellungen[17], std::string("Verdana"));
        QCOMPARE(dlg.m_datumBold, 0);
        QCOMPARE(dlg.m_datumUnderline, 1);
        QCOMPARE(dlg.m_overBold, 1);
        QCOMPARE(dlg.m_overUnderline, 0);
        // Only "Beenden" writes the file; the next stylesheet already has the values.
        QVERIFY(!std::filesystem::exists(m_dir / "data/styleconfig.bit"));
        QVERIFY(StylesheetText(dlg).find("font-size:Gr\xF6\xDF"
                                         "e; };text-decoration:underline;font-family:n8; color:n6}") !=
                std::string::npos);

        // The next opening starts from the saved values.
        imDialog(dlg, [&](StyleDlg* s) {
            QCOMPARE(s->m_comboOverSchrift->currentText(), QStringLiteral("Georgia"));
            QVERIFY(s->m_checkOverBold->isChecked());
            QVERIFY(!s->m_checkDatumBold->isChecked());
        });
    }

    void enterSaves() {
        VelmaroDlg dlg(m_dir.path());
        imDialog(dlg, [&](StyleDlg* s) {
            ersetzen(s->m_editTabelleBreite, QStringLiteral("640"));
            QTest::keyClick(s->m_editTabelleBreite, Qt::Key_Return);
            QVERIFY(!s->isVisible());
        });
        QCOMPARE(dlg.m_einstellungen[19], std::string("640"));
    }

    void abbrechenEscapeAndCloseBoxKeepTheValues() {
        VelmaroDlg dlg(m_dir.path());
        beispielWerte(dlg);
        const Werte vorher = werte(dlg);
        auto aendern = [](StyleDlg* s) {
            for (int i = 0; i < 16; ++i)
                ersetzen(editFeld(s, kTextIds[i]), QStringLiteral("x"));
            QTest::mouseClick(s->m_checkDatumBold, Qt::LeftButton);
            QTest::mouseClick(s->m_checkOverBold, Qt::LeftButton);
        };
        imDialog(dlg, [&](StyleDlg* s) {
            aendern(s);
            QTest::mouseClick(s->m_btnAbbrechen, Qt::LeftButton);
            QVERIFY(!s->isVisible());
            QCOMPARE(s->result(), int(QDialog::Rejected));
        });
        QVERIFY(werte(dlg) == vorher);
        imDialog(dlg, [&](StyleDlg* s) {
            aendern(s);
            QTest::keyClick(s->m_editOverFarbe, Qt::Key_Escape);
            QVERIFY(!s->isVisible());
        });
        QVERIFY(werte(dlg) == vorher);
        imDialog(dlg, [&](StyleDlg* s) {
            aendern(s);
            QVERIFY(s->close());
        });
        QVERIFY(werte(dlg) == vorher);
    }

    void untouchedValuesKeepTheirBytes() {
        VelmaroDlg dlg(m_dir.path());
        // Bytes as a hand-edited or damaged file may hold them, and flags other than 0 and 1.
        dlg.m_einstellungen[4] = "\x81\x8D\x8F\x90\x9D";
        dlg.m_einstellungen[5] = std::string(300, 'w');
        dlg.m_einstellungen[18] = "  #FFF  ";
        dlg.m_datumBold = 2;
        dlg.m_overBold = 0;
        const Werte vorher = werte(dlg);
        imDialog(dlg, [&](StyleDlg* s) {
            QVERIFY(s->m_checkDatumBold->isChecked());
            QTest::mouseClick(s->m_btnAbbrechen, Qt::LeftButton);
        });
        QVERIFY(werte(dlg) == vorher);
        imDialog(dlg, [&](StyleDlg* s) { QTest::mouseClick(s->m_btnSpeichern, Qt::LeftButton); });
        QCOMPARE(dlg.m_einstellungen, vorher.einstellungen);
        // A box stores what it shows.
        QCOMPARE(dlg.m_datumBold, 1);
    }

    void bildFieldsLeaveNoTrace() {
        VelmaroDlg dlg(m_dir.path());
        beispielWerte(dlg);
        const Werte vorher = werte(dlg);
        imDialog(dlg, [&](StyleDlg* s) {
            QCOMPARE(s->m_editBildHorizontal->text(), QString());
            QTest::keyClicks(s->m_editBildHorizontal, QStringLiteral("12"));
            QTest::keyClicks(s->m_editBildVertikal, QStringLiteral("34"));
            QCOMPARE(s->m_editBildHorizontal->text(), QString());
            QTest::mouseClick(s->m_btnSpeichern, Qt::LeftButton);
        });
        QVERIFY(werte(dlg) == vorher);
    }
};

QTEST_MAIN(StyleDlgTest)
#include "styledlg_guitest.moc"
