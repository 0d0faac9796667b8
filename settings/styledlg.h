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

    // Controls, by id.
    QLineEdit* m_editDatumHintergrund = nullptr;   // 1029
    QLineEdit* m_editDatumBreite = nullptr;        // 1019
    QLineEdit* m_editDatumFarbe = nullptr;         // 1030
    QLineEdit* m_editDatumGroesse = nullptr;       // 1012
    QComboBox* m_comboDatumSchrift = nullptr;      // 1031
    QCheckBox* m_checkDatumBold = nullptr;         // 1020
    QCheckBox* m_checkDatumUnderline = nullptr;    // 1022
    QLineEdit* m_editOverHintergrund = nullptr;    // 1005
    QLineEdit* m_editOverBreite = nullptr;         // 1021
    QLineEdit* m_editOverFarbe = nullptr;          // 1006
    QLineEdit* m_editOverGroesse = nullptr;        // 1011
    QComboBox* m_comboOverSchrift = nullptr;       // 1017
    QCheckBox* m_checkOverBold = nullptr;          // 1023
    QCheckBox* m_checkOverUnderline = nullptr;     // 1024
    QLineEdit* m_editTextHintergrund = nullptr;    // 1007
    QLineEdit* m_editTextFarbe = nullptr;          // 1008
    QLineEdit* m_editTextGroesse = nullptr;        // 1014
    QComboBox* m_comboTextSchrift = nullptr;       // 1018
    QLineEdit* m_editTabelleHintergrund = nullptr; // 1013
    QLineEdit* m_editTabelleBreite = nullptr;      // 1009
    QLineEdit* m_editBildHorizontal = nullptr;     // 1015
    QLineEdit* m_editBildVertikal = nullptr;       // 1010
    QPushButton* m_btnSpeichern = nullptr;         // 1027
    QPushButton* m_btnAbbrechen = nullptr;         // 1028

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
