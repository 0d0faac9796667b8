#pragma once
// The style settings dialog (137, "Stylesheet anpassen"): edits the eighteen style values and four
// flags in place; "Speichern" takes the controls into them, "Abbrechen", Esc and
// the close box leave them as they were.

#include "store/einstellungen.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace velmaro {

class StyleDlg : public QDialog {
    Q_OBJECT
public:
    // Binds the dialog to the style values; they must outlive the dialog.
    explicit StyleDlg(StyleWerte& werte, QWidget* parent = nullptr);

    void OnSpeichern();
    void OnAbbrechen();

    // Controls.
    QLineEdit* m_editDatumHintergrund = nullptr;
    QLineEdit* m_editDatumBreite = nullptr;
    QLineEdit* m_editDatumFarbe = nullptr;
    QLineEdit* m_editDatumGroesse = nullptr;
    QComboBox* m_comboDatumSchrift = nullptr;
    QCheckBox* m_checkDatumBold = nullptr;
    QCheckBox* m_checkDatumUnderline = nullptr;
    QLineEdit* m_editOverHintergrund = nullptr;
    QLineEdit* m_editOverBreite = nullptr;
    QLineEdit* m_editOverFarbe = nullptr;
    QLineEdit* m_editOverGroesse = nullptr;
    QComboBox* m_comboOverSchrift = nullptr;
    QCheckBox* m_checkOverBold = nullptr;
    QCheckBox* m_checkOverUnderline = nullptr;
    QLineEdit* m_editTextHintergrund = nullptr;
    QLineEdit* m_editTextFarbe = nullptr;
    QLineEdit* m_editTextGroesse = nullptr;
    QComboBox* m_comboTextSchrift = nullptr;
    QLineEdit* m_editTabelleHintergrund = nullptr;
    QLineEdit* m_editTabelleBreite = nullptr;
    QLineEdit* m_editBildHorizontal = nullptr;
    QLineEdit* m_editBildVertikal = nullptr;
    QPushButton* m_btnSpeichern = nullptr;
    QPushButton* m_btnAbbrechen = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A text setting and the control that shows it (an edit, or a font combo box's edit field).
    struct TextFeld {
        std::string* wert;
        QLineEdit* edit;
        QComboBox* combo;
        QString gezeigt;
    };
    struct Schalter {
        std::int32_t* wert;
        QCheckBox* box;
    };

    void ControlsAnlegen();
    // true takes the controls into the settings, false shows the settings.
    void DatenAustausch(bool speichern);
    void SchriftListenFuellen();

    std::vector<TextFeld> m_texte;
    std::vector<Schalter> m_schalter;
    bool m_listenGefuellt = false;
};

} // namespace velmaro
