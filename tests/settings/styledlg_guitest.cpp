// The style dialog opened from the real main window, driven through its controls.
#include "platform/unicode.h"
#include "settings/styledlg.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <tuple>

using namespace velmaro;
using namespace velmaro::test;

namespace {

// The eighteen text controls, in the order of the style file; a font box by its edit field.
constexpr int kTexte = 18;
QLineEdit* feld(StyleDlg* s, int i) {
    QWidget* const w[kTexte] = {
        s->m_editDatumHintergrund, s->m_editDatumBreite,     s->m_editDatumFarbe,
        s->m_editDatumGroesse,     s->m_comboDatumSchrift,   s->m_editOverHintergrund,
        s->m_editOverBreite,       s->m_editOverFarbe,       s->m_editOverGroesse,
        s->m_comboOverSchrift,     s->m_editTextHintergrund, s->m_editTextFarbe,
        s->m_editTextGroesse,      s->m_comboTextSchrift,    s->m_editTabelleHintergrund,
        s->m_editTabelleBreite,    s->m_editBildHorizontal,  s->m_editBildVertikal};
    if (auto* c = qobject_cast<QComboBox*>(w[i]))
        return c->lineEdit();
    return static_cast<QLineEdit*>(w[i]);
}

// Types over the whole text; QTest::keyClicks knows only ASCII.
void ersetzen(QLineEdit* e, const QString& text) {
    e->selectAll();
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class StyleDlgTest : public QObject {
    Q_OBJECT

    TempDir m_dir;
    MeldungsRekorder m_boxen; // the start-up's box about the missing ftpconfig.bit

    // Clicks "Go" beside "Stylesheet anpassen" and runs tun on the open dialog, which tun must close.
    static void imStyleDlg(VelmaroDlg& dlg, const std::function<void(StyleDlg*)>& tun) {
        QVERIFY(imDialog<StyleDlg>([&] { klicken(dlg.m_btnStylesheet); }, tun));
    }

private slots:
    void speichernTakesTheControlsTheOtherWaysLeaveTheValues() {
        VelmaroDlg dlg(m_dir.path());
        for (int i = 4; i < 4 + kTexte; ++i)
            Einstellung(dlg.m_zustand, i) = "#" + std::to_string(i) + "0";
        dlg.m_zustand.m_style.datumSchrift = "Comic Sans MS"; // not in the list
        dlg.m_zustand.m_style.overSchrift = "New Roman";      // once offered, names no font
        // Bytes as a hand-edited file may hold them: undefined in Windows-1252, longer than an edit
        // field holds, padded.
        dlg.m_zustand.m_style.datumHintergrund = "\x81\x8D\x8F\x90\x9D";
        dlg.m_zustand.m_style.datumBreite = std::string(40000, 'w');
        dlg.m_zustand.m_style.tabelleHintergrund = "  #FFF  ";
        dlg.m_zustand.m_style.datumBold = dlg.m_zustand.m_style.overUnderline = 1;
        const auto vorher = dlg.m_zustand.m_style;

        imStyleDlg(dlg, [&](StyleDlg* s) {
            ersetzen(feld(s, 0), QStringLiteral("x"));
            QTest::mouseClick(s->m_checkDatumBold, Qt::LeftButton);
            QTest::mouseClick(s->m_btnAbbrechen, Qt::LeftButton);
        });
        QVERIFY(dlg.m_zustand.m_style == vorher);

        // Opened again, it shows the values from their start; saved untouched, they and the flags keep
        // their bytes.
        imStyleDlg(dlg, [&](StyleDlg* s) {
            for (int i = 0; i < kTexte; ++i)
                QCOMPARE(feld(s, i)->text(),
                         zuUnicode(Einstellung(dlg.m_zustand, i + 4)).left(feld(s, i)->maxLength()));
            QTest::mouseClick(s->m_btnSpeichern, Qt::LeftButton);
        });
        QVERIFY(dlg.m_zustand.m_style == vorher);

        // Every field keeps what is typed, a font name not in the list too; Return in a field saves.
        imStyleDlg(dlg, [&](StyleDlg* s) {
            for (int i = 0; i < kTexte; ++i)
                ersetzen(feld(s, i), QStringLiteral("n%1ö; }").arg(i + 4));
            for (QCheckBox* b :
                 {s->m_checkDatumBold, s->m_checkDatumUnderline, s->m_checkOverBold, s->m_checkOverUnderline})
                QTest::mouseClick(b, Qt::LeftButton);
            QTest::keyClick(feld(s, 0), Qt::Key_Return);
        });
        VelmaroZustand soll;
        for (int i = 4; i < 4 + kTexte; ++i)
            Einstellung(soll, i) = "n" + std::to_string(i) + "\xF6; }";
        soll.m_style.datumUnderline = soll.m_style.overBold = 1;
        QVERIFY(dlg.m_zustand.m_style == soll.m_style);
    }
};

QTEST_MAIN(StyleDlgTest)
#include "styledlg_guitest.moc"
