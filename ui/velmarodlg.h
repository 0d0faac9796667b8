#pragma once
// The main window: owns the run's state (through VelmaroZustand), its controls, the command table
// and the field exchange. The handlers live beside their subsystems: editor/, site/, publish/,
// settings/.

#include "app/zustand.h"
#include "platform/ftpclient.h"
#include "site/generator.h" // kVerlagsAdresse

#include <QDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QString>

#include <filesystem>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
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

// The article selection list: auswahlGeaendert reports a selection the user makes with mouse or
// keyboard, a click on the line already selected included, as a list box does; a refill by the
// program reports nothing.
class ArtikelListe : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    void auswahlGeaendert();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int gewaehlteZeile() const;
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
    // Esc, the close box and Alt+F4: asks first when the run changed what "Beenden" writes.
    void reject() override;
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
    // Context menu "Vorschau im Browser": the site as local pages in vorschau/, without uploading.
    void OnVorschau();

    // Editor operations.
    void FelderLeeren();
    void FelderFreigeben(bool an);
    bool ArtikelAnzeigen(const std::string& ueberschrift);
    // Puts the article open for editing back into the list, so that "Beenden" writes it.
    void BearbeitetenArtikelSichern();

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
    ArtikelListe* m_listeArtikel = nullptr;      // 1000
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
    QAction* m_befehlNeuerArtikel = nullptr;     // menu command 130
    QAction* m_befehlUpdate = nullptr;           // menu command 134

    // The article taken out of the list by "Artikel bearbeiten", as it was then; empty when none
    // is open for editing.
    std::optional<Artikel> m_bearbeiteterArtikel;

    QString m_ereignisText;

    // Session and connection of the upload under way; released when it ends.
    std::unique_ptr<InternetSitzung> m_pSitzung;
    std::unique_ptr<FtpVerbindung> m_pFtpVerbindung;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ControlsAnlegen();
    void BefehleVerbinden();
    void FensterInitialisieren();
    void BeschaedigtMelden(const char* name);
    // The editor's article into the list, the fields emptied and locked.
    void ArtikelAblegen();

    // What the edits showed at the last field exchange, so that an untouched field gives back
    // the stored bytes unchanged.
    QString m_gezeigteUeberschrift;
    QString m_gezeigterTextinhalt;
    // The files' bytes at the end of the start-up, to tell whether the run changed anything.
    std::string m_startSchnappschuss;
};

} // namespace velmaro
