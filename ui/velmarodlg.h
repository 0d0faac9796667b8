#pragma once
// The main window: owns the site folder's state, builds the controls and binds their commands to
// the article editor, the settings dialogs, "Update Website" and the web links.

#include "editor/editor.h"
#include "platform/sperre.h"
#include "site/generator.h"
#include "store/wiederherstellung.h"
#include "store/zustand.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmaro {

class UploadAuftrag;
class UploadFortschritt;

class VelmaroDlg : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs its initialisation on the files below ordner.
    explicit VelmaroDlg(const std::filesystem::path& ordner = ".", QWidget* parent = nullptr);
    ~VelmaroDlg() override;

    // Event display.
    void Ereignisanzeige(Ereignisart art);
    // "&Info über velmaro..." of the context menu: the About box.
    void OnInfo();

    // Command handlers.
    void OnBeenden();
    // Esc, the close box and Alt+F4: asks first when the run changed what "Beenden" writes.
    void reject() override;
    void OnUpdateWebsite();
    void OnSelchangeProSeite();
    void OnKontrollseite();
    void OnHomepage();
    void OnFtpZugang();
    void OnStylesheetAnpassen();
    // Context menu "Vorschau im Browser": the site as local pages in vorschau/, without uploading.
    void OnVorschau();

    // Another velmaro holds the folder: the window opened nothing and is not to be shown.
    bool Abgelehnt() const { return m_abgelehnt; }
    // The desktop session is about to end: whatever is typed goes into the recovery file too.
    void SitzungSichern();
    // Ended from outside (a signal): the recovery file stays for the next start.
    void SitzungBeenden();

    // True while "Update Website" generates and uploads beside the window.
    bool UploadLaeuft() const { return m_upload != nullptr; }

    VelmaroZustand m_zustand;
    ArtikelEditor m_editor;
    // The last "Update Website" run.
    GeneratorErgebnis m_letzterLauf;

    // Controls beside the editor's, in template order.
    QPushButton* m_btnBeenden = nullptr;
    QPushButton* m_btnKontrollseite = nullptr;
    QPushButton* m_btnHomepage = nullptr;
    QPushButton* m_btnUpdate = nullptr;
    QLabel* m_ereignis = nullptr;
    QComboBox* m_comboProSeite = nullptr;
    QPushButton* m_btnFtpZugang = nullptr;
    QPushButton* m_btnStylesheet = nullptr;
    QComboBox* m_comboVorschauZeichen = nullptr;
    QCheckBox* m_checkDatum = nullptr;
    QAction* m_befehlNeuerArtikel = nullptr;
    QAction* m_befehlUpdate = nullptr;

    QString m_ereignisText;

    // Set by "Alle Dateien neu übertragen" for the next upload only.
    bool m_alleSenden = false;

    // Shown while "Update Website" runs.
    UploadFortschritt* m_fortschritt = nullptr;

signals:
    // "Update Website" has ended and the window is unlocked again.
    void uploadBeendet();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ControlsAnlegen();
    void BefehleVerbinden();
    void FensterInitialisieren();
    void BeschaedigtMelden(Datendatei welche);
    // The combo box's field shows the per-page value in force.
    void ProSeiteZeigen();
    // While an upload runs: asks whether to stop it and runs danach once it has stopped. False when
    // no upload runs.
    bool ErstUploadBeenden(std::function<void()> danach);
    // Locks the editing controls and "Update Website" while the upload runs, and restores them.
    void UploadSperren(bool sperren);
    void UploadBeendet(const GeneratorErgebnis& erzeugt, bool gesendet);
    // Shows the upload's reports in the order it made them; while a message box waits for the
    // user, those after it wait too.
    void UploadBericht(std::function<void()> bericht);

    // Keeps one change in the recovery file; says once per run when that fails.
    void AenderungFesthalten(Aenderung a);
    // The recovery file of an earlier session: taken over or set aside, as the user says.
    void WiederherstellungAnbieten();
    // At start: one message naming what this run cannot write.
    void SchreibschutzMelden(Ordnersperre::Ergebnis sperre);
    // An article typed or open for editing, or changes not yet written: asks whether to save them.
    // False when the window stays open.
    bool BeendenFragen();
    // "Beenden" writes; false (window open) when a file could not be written.
    bool DateienSichern();
    // The window ends, and with it the recovery file.
    void Schliessen(bool gespeichert);
    // After a settings dialog: its changes into the recovery file, when it made any.
    void EinstellungenFesthalten(const std::string& vorher);

    // The files' bytes at the end of the start-up, to tell whether the run changed anything.
    std::string m_startSchnappschuss;
    Ordnersperre m_sperre;
    bool m_abgelehnt = false;
    Wiederherstellung m_wiederherstellung;
    bool m_sicherungGemeldet = false;

    // The "Update Website" under way; a child of the window.
    UploadAuftrag* m_upload = nullptr;
    std::deque<std::function<void()>> m_berichte;
    bool m_berichtLaeuft = false;
    std::function<void()> m_nachDemUpload;
    std::vector<std::pair<QWidget*, bool>> m_gesperrt;
};

} // namespace velmaro
