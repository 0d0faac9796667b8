#include "settings/styledlg.h"

#include "platform/unicode.h"
#include "widgets/dialogunits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmaro {

StyleDlg::StyleDlg(StyleWerte& s, QWidget* parent) : QDialog(parent) {
    ControlsAnlegen();
    m_texte = {
        {&s.datumHintergrund, m_editDatumHintergrund, nullptr, {}},
        {&s.datumBreite, m_editDatumBreite, nullptr, {}},
        {&s.datumFarbe, m_editDatumFarbe, nullptr, {}},
        {&s.datumGroesse, m_editDatumGroesse, nullptr, {}},
        {&s.datumSchrift, nullptr, m_comboDatumSchrift, {}},
        {&s.overHintergrund, m_editOverHintergrund, nullptr, {}},
        {&s.overBreite, m_editOverBreite, nullptr, {}},
        {&s.overFarbe, m_editOverFarbe, nullptr, {}},
        {&s.overGroesse, m_editOverGroesse, nullptr, {}},
        {&s.overSchrift, nullptr, m_comboOverSchrift, {}},
        {&s.textHintergrund, m_editTextHintergrund, nullptr, {}},
        {&s.textFarbe, m_editTextFarbe, nullptr, {}},
        {&s.textGroesse, m_editTextGroesse, nullptr, {}},
        {&s.textSchrift, nullptr, m_comboTextSchrift, {}},
        {&s.tabelleHintergrund, m_editTabelleHintergrund, nullptr, {}},
        {&s.tabelleBreite, m_editTabelleBreite, nullptr, {}},
        {&s.bildHorizontal, m_editBildHorizontal, nullptr, {}},
        {&s.bildVertikal, m_editBildVertikal, nullptr, {}},
    };
    m_schalter = {{&s.datumBold, m_checkDatumBold},
                  {&s.datumUnderline, m_checkDatumUnderline},
                  {&s.overBold, m_checkOverBold},
                  {&s.overUnderline, m_checkOverUnderline}};
    DatenAustausch(false);
    m_editDatumHintergrund->setFocus();
}

void StyleDlg::ControlsAnlegen() {
    const DialogUnits du = festerDialog(*this, QStringLiteral("Stylesheet anpassen"), 387, 171);

    QList<QWidget*> rahmen;
    auto gruppe = [&](const QString& text, int x, int y, int w, int h) {
        auto* g = new QGroupBox(text, this);
        g->setGeometry(du.rect(x, y, w, h));
        rahmen << g;
    };
    auto text = [&](const QString& t, int x, int y, int w, int h) {
        auto* l = new QLabel(t, this);
        l->setGeometry(du.rect(x, y, w, h));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    // One labelled field of a group: label at gx, the field behind it, "px" behind fields in pixels.
    auto edit = [&](const char* id, const QString& label, int gx, int y, bool px) {
        text(label, gx + 6, y + 2, 62, 8);
        auto* ed = new QLineEdit(this);
        ed->setGeometry(du.rect(gx + 68, y, px ? 38 : 50, 12));
        ed->setObjectName(QString::fromLatin1(id));
        if (px)
            text(QStringLiteral("px"), gx + 108, y + 2, 10, 8);
        return ed;
    };
    auto schrift = [&](const char* id, int gx, int y) {
        text(QStringLiteral("Schriftart : "), gx + 6, y + 2, 62, 8);
        auto* c = new QComboBox(this);
        c->setGeometry(du.rect(gx + 68, y, 50, 12));
        c->setObjectName(QString::fromLatin1(id));
        c->setEditable(true);
        // A typed name is stored as typed; it does not join the list.
        c->setInsertPolicy(QComboBox::NoInsert);
        return c;
    };
    auto check = [&](const char* id, const QString& label, int x, int y, int w) {
        auto* c = new QCheckBox(label, this);
        c->setGeometry(du.rect(x, y, w, 10));
        c->setObjectName(QString::fromLatin1(id));
        return c;
    };

    const QString hintergrund = QStringLiteral("Hintergrundfarbe : ");
    const QString breite = QStringLiteral("Spaltenbreite : ");
    const QString farbe = QStringLiteral("Textfarbe : ");
    const QString groesse = QStringLiteral("Schriftgröße : ");

    constexpr int links = 7, mitte = 132, rechts = 257;
    gruppe(QStringLiteral("Datum"), links, 4, 123, 98);
    m_editDatumHintergrund = edit("m_editDatumHintergrund", hintergrund, links, 16, false);
    m_editDatumBreite = edit("m_editDatumBreite", breite, links, 30, true);
    m_editDatumFarbe = edit("m_editDatumFarbe", farbe, links, 44, false);
    m_editDatumGroesse = edit("m_editDatumGroesse", groesse, links, 58, true);
    m_comboDatumSchrift = schrift("m_comboDatumSchrift", links, 72);
    m_checkDatumBold = check("m_checkDatumBold", QStringLiteral("fett"), links + 8, 87, 40);
    m_checkDatumUnderline = check("m_checkDatumUnderline", QStringLiteral("underline"), links + 56, 87, 60);

    gruppe(QStringLiteral("Überschrift"), mitte, 4, 123, 98);
    m_editOverHintergrund = edit("m_editOverHintergrund", hintergrund, mitte, 16, false);
    m_editOverBreite = edit("m_editOverBreite", breite, mitte, 30, true);
    m_editOverFarbe = edit("m_editOverFarbe", farbe, mitte, 44, false);
    m_editOverGroesse = edit("m_editOverGroesse", groesse, mitte, 58, true);
    m_comboOverSchrift = schrift("m_comboOverSchrift", mitte, 72);
    m_checkOverBold = check("m_checkOverBold", QStringLiteral("fett"), mitte + 8, 87, 40);
    m_checkOverUnderline = check("m_checkOverUnderline", QStringLiteral("underline"), mitte + 56, 87, 60);

    gruppe(QStringLiteral("Haupttext"), rechts, 4, 123, 70);
    m_editTextHintergrund = edit("m_editTextHintergrund", hintergrund, rechts, 16, false);
    m_editTextFarbe = edit("m_editTextFarbe", farbe, rechts, 30, false);
    m_editTextGroesse = edit("m_editTextGroesse", groesse, rechts, 44, true);
    m_comboTextSchrift = schrift("m_comboTextSchrift", rechts, 58);

    gruppe(QStringLiteral("Tabelle"), links, 106, 123, 58);
    m_editTabelleHintergrund = edit("m_editTabelleHintergrund", hintergrund, links, 120, false);
    m_editTabelleBreite = edit("m_editTabelleBreite", QStringLiteral("Breite : "), links, 134, true);

    gruppe(QStringLiteral("Bild"), mitte, 106, 123, 58);
    m_editBildHorizontal =
        edit("m_editBildHorizontal", QStringLiteral("Abstand hotizontal : "), mitte, 120, true);
    m_editBildVertikal = edit("m_editBildVertikal", QStringLiteral("Abstand vertikal : "), mitte, 134, true);

    gruppe(QString(), rechts, 78, 123, 38);
    auto* hinweis =
        text(QStringLiteral("Textfarben bitte in Hexadezimal-Format angeben. Beispiel #000000 für schwarz."),
             rechts + 6, 86, 111, 26);
    hinweis->setWordWrap(true);

    gruppe(QString(), rechts, 120, 123, 44);
    m_btnSpeichern = new QPushButton(QStringLiteral("Speichern"), this);
    m_btnSpeichern->setGeometry(du.rect(rechts + 7, 135, 52, 15));
    m_btnSpeichern->setObjectName(QStringLiteral("m_btnSpeichern"));
    m_btnSpeichern->setDefault(true);
    m_btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_btnAbbrechen->setGeometry(du.rect(rechts + 64, 135, 52, 15));
    m_btnAbbrechen->setObjectName(QStringLiteral("m_btnAbbrechen"));

    // Frames must not cover the controls they hold.
    for (QWidget* r : rahmen)
        r->lower();

    const QList<QWidget*> reihenfolge = {
        m_editDatumHintergrund, m_editDatumBreite,    m_editDatumFarbe,         m_editDatumGroesse,
        m_comboDatumSchrift,    m_checkDatumBold,     m_checkDatumUnderline,    m_editOverHintergrund,
        m_editOverBreite,       m_editOverFarbe,      m_editOverGroesse,        m_comboOverSchrift,
        m_checkOverBold,        m_checkOverUnderline, m_editTextHintergrund,    m_editTextFarbe,
        m_editTextGroesse,      m_comboTextSchrift,   m_editTabelleHintergrund, m_editTabelleBreite,
        m_editBildHorizontal,   m_editBildVertikal,   m_btnSpeichern,           m_btnAbbrechen};
    for (int i = 1; i < reihenfolge.size(); ++i)
        setTabOrder(reihenfolge[i - 1], reihenfolge[i]);

    connect(m_btnSpeichern, &QPushButton::clicked, this, &StyleDlg::OnSpeichern);
    connect(m_btnAbbrechen, &QPushButton::clicked, this, &StyleDlg::OnAbbrechen);
}

void StyleDlg::DatenAustausch(bool speichern) {
    for (TextFeld& f : m_texte) {
        if (speichern) {
            const QString jetzt = f.edit ? f.edit->text() : f.combo->currentText();
            // An untouched field gives back the stored bytes, also those a window cannot show.
            if (jetzt != f.gezeigt)
                *f.wert = zuCp1252(jetzt);
        } else {
            f.gezeigt = zuUnicode(*f.wert);
            // Long values are shown from their start.
            QLineEdit* feld = f.edit ? f.edit : f.combo->lineEdit();
            if (f.edit)
                f.edit->setText(f.gezeigt);
            else
                f.combo->setEditText(f.gezeigt);
            if (feld)
                feld->setCursorPosition(0);
            f.gezeigt = f.edit ? f.edit->text() : f.combo->currentText();
        }
    }
    for (Schalter& s : m_schalter) {
        if (speichern)
            *s.wert = s.box->isChecked() ? 1 : 0;
        else
            s.box->setChecked(*s.wert != 0);
    }
}

void StyleDlg::SchriftListenFuellen() {
    const QStringList schriften = {QStringLiteral("Arial"), QStringLiteral("Verdana"),
                                   QStringLiteral("Times New Roman")};
    // The headline and body lists once offered "New Roman", which names no font; a stored
    // "New Roman" is still shown as typed.
    for (QComboBox* combo : {m_comboDatumSchrift, m_comboOverSchrift, m_comboTextSchrift}) {
        // The stored name stays in the edit field; filling an empty list would select "Arial".
        const QString text = combo->currentText();
        combo->addItems(schriften);
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
        combo->lineEdit()->setCursorPosition(0);
    }
}

void StyleDlg::showEvent(QShowEvent* event) {
    if (!m_listenGefuellt) {
        SchriftListenFuellen();
        m_listenGefuellt = true;
    }
    QDialog::showEvent(event);
}

void StyleDlg::OnSpeichern() {
    DatenAustausch(true);
    accept();
}

void StyleDlg::OnAbbrechen() {
    reject();
}

} // namespace velmaro
