#pragma once
// The main window: owns the run's state (through VelmaroZustand), its controls, the command table
// and the field exchange. The handlers live beside their subsystems: editor/, site/, publish/,
// settings/.

#include "app/zustand.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QString>

#include <filesystem>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmaro {

// The body edit: Enter goes to the dialog's default button; Ctrl+Enter types a line break.
class TextinhaltEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class VelmaroDlg : public QDialog, public VelmaroZustand {
    Q_OBJECT
public:
    // Builds the window and runs its initialisation on the files below ordner.
    explicit VelmaroDlg(const std::filesystem::path& ordner = ".", QWidget* parent = nullptr);
    ~VelmaroDlg() override;

    // Event display.
    void Ereignisanzeige(int code);
    // Field exchange: true takes the controls into the members, false shows the members.
    void DatenAustausch(bool speichern);
    void ListeFuellen();
    // System command of the context menu ("&Info über velmaro...").
    void SystemBefehl(int befehl);

    // Command handlers.
    void OnBeenden();
    void OnSelchangeListe();
    void OnDblclkListe();
    void OnNeuerArtikel();
    void OnArtikelSpeichern();
    void OnArtikelLoeschen();
    void OnArtikelBearbeiten();
    void OnUpdateWebsite();
    void OnSelchangeProSeite();
    void OnKontrollseite();
    void OnHomepage();
    void OnFtpZugang();
    void OnStylesheetAnpassen();

    // Editor operations.
    void FelderLeeren();
    void FelderFreigeben(bool an);
    bool ArtikelAnzeigen(const std::string& ueberschrift);

    // Upload and web links.
    void DatenUebertragen(int seiten, int artikel);
    void SeiteOeffnen(const std::string& adresse);

    // Controls, in template order (ids in the comments).
    QLineEdit* m_editUeberschrift = nullptr;     // 1003
    TextinhaltEdit* m_editTextinhalt = nullptr;  // 1004
    QPushButton* m_btnSpeichern = nullptr;       // 1001
    QPushButton* m_btnNeu = nullptr;             // 1008
    QDateEdit* m_ctrlDatum = nullptr;            // 1007
    QPushButton* m_btnBeenden = nullptr;         // IDOK
    QListWidget* m_listeArtikel = nullptr;       // 1000
    QPushButton* m_btnLoeschen = nullptr;        // 1002
    QPushButton* m_btnKontrollseite = nullptr;   // 1005
    QPushButton* m_btnHomepage = nullptr;        // 1006
    QPushButton* m_btnBearbeiten = nullptr;      // 1009
    QPushButton* m_btnUpdate = nullptr;          // 1010
    QLabel* m_ereignis = nullptr;                // 1012
    QComboBox* m_comboProSeite = nullptr;        // 1016
    QPushButton* m_btnFtpZugang = nullptr;       // 1017
    QPushButton* m_btnStylesheet = nullptr;      // 1018
    QComboBox* m_comboVorschauZeichen = nullptr; // 1021
    QCheckBox* m_checkDatum = nullptr;           // 1020

    QString m_ereignisText;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ControlsAnlegen();
    void BefehleVerbinden();
    void FensterInitialisieren();
    void BeschaedigtMelden(const char* name);

    // What the edits showed at the last field exchange, so that an untouched field gives back
    // the stored bytes unchanged.
    QString m_gezeigteUeberschrift;
    QString m_gezeigterTextinhalt;
};

// The publisher's web address, opened by button 1006 and named in every article page's footer.
inline constexpr const char* kVerlagsAdresse = "http://www.dorvent.de";

} // namespace velmaro
