#pragma once
// The FTP access dialog (138, "FTP-Zugang"): edits the main window's four FTP values and the site's
// address in place.
// "Speichern" and Enter in a field take the fields into them; "Abbrechen", Esc and the close box
// leave them as they were. Nothing is written to disk here.

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QProgressDialog;
class QPushButton;

namespace velmaro {

class FTPZugang : public QDialog {
    Q_OBJECT
public:
    // The five strings (Windows-1252) must outlive the dialog.
    FTPZugang(std::string& name, std::string& ftpAdresse, std::string& zugangsname, std::string& passwort,
              std::string& website, QWidget* parent = nullptr);

    void OnSpeichern();
    void OnAbbrechen();
    // "Verbindung testen": hands the fields' values to m_verbindungTest and shows its answer; the
    // dialog waits meanwhile, and "Abbrechen" ends the test at once.
    void OnVerbindungTesten();
    // The dialog's OK command (Enter in a field): takes the fields, then closes.
    void accept() override;

    // Controls, in template order (ids in the comments).
    QPushButton* m_btnAbbrechen = nullptr;
    QPushButton* m_btnSpeichern = nullptr;
    QLineEdit* m_editName = nullptr;
    QLineEdit* m_editFtpAdresse = nullptr;
    QLineEdit* m_editZugangsname = nullptr;
    QLineEdit* m_editPasswort = nullptr;
    QLineEdit* m_editWebsite = nullptr; // "Adresse der Website", below the password
    QPushButton* m_btnTesten = nullptr; // "Verbindung testen", below the group
    // Shown while a connection test runs.
    QProgressDialog* m_warten = nullptr;

    // The test's answer (UTF-8), on the dialog's thread; nothing to show when empty.
    using Testantwort = std::function<void(const std::string&)>;
    // Starts the test with address, user name and password (Windows-1252); it calls the Testantwort
    // once, unless the object it returns is destroyed first, which gives the test up at once.
    std::function<std::unique_ptr<QObject>(const std::string&, const std::string&, const std::string&,
                                           Testantwort)>
        m_verbindungTest;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ControlsAnlegen();
    // true takes the fields into the strings (false, after a message, when one cannot be stored);
    // false shows the strings.
    bool DatenAustausch(bool speichern);
    // The test has answered, or abgebrochen when the user ended it.
    void TestBeendet(bool abgebrochen);

    std::string* m_pName;
    std::string* m_pFtpAdresse;
    std::string* m_pZugangsname;
    std::string* m_pPasswort;
    std::string* m_pWebsite;
    // What each field showed, so that an untouched field gives back its stored bytes unchanged.
    std::array<QString, 5> m_gezeigt;
    std::unique_ptr<QObject> m_test;
};

} // namespace velmaro
