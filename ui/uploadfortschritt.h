#pragma once
// The progress of "Update Website" beside the main window: files sent of files to send, the file
// under way, and "Abbrechen", which ends the upload at the next file.

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmaro {

class UploadFortschritt : public QDialog {
    Q_OBJECT
public:
    // abbrechen is called once, when the user asks to stop.
    UploadFortschritt(QWidget* parent, std::function<void()> abbrechen);

    // The pages are generated; dateien files are to be sent.
    void DateienSetzen(int dateien);
    void DateiGesendet();
    void AktuelleDatei(const QString& name);
    // "Abbrechen", Esc and the close box.
    void reject() override;

    QLabel* m_zaehler = nullptr;
    QLabel* m_datei = nullptr;
    QProgressBar* m_balken = nullptr;
    QPushButton* m_btnAbbrechen = nullptr;

private:
    void ZaehlerZeigen();

    std::function<void()> m_abbrechen;
    int m_dateien = 0;
    int m_gesendet = 0;
};

} // namespace velmaro
