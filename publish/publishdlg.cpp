// The upload and the two web links, as the main window runs them.
#include "platform/meldung.h"
#include "platform/unicode.h"
#include "publish/upload.h"
#include "ui/velmarodlg.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace velmaro {

namespace {

// The upload's reports on the event line and in message boxes owned by the main window.
class FensterBeobachter : public UploadBeobachter {
public:
    explicit FensterBeobachter(VelmaroDlg& dlg) : m_dlg(dlg) {}

    void Ereignis(int code) override { m_dlg.Ereignisanzeige(code); }
    void Fortschritt(const std::string& text) override {
        // Straight onto the control: the event text itself stays what the last event set.
        m_dlg.m_ereignis->setText(QString::fromStdString(text));
        m_dlg.m_ereignis->repaint();
    }
    void Meldung(const std::string& text, const std::string& titel) override {
        velmaro::Meldung(&m_dlg, QString::fromStdString(text), QString::fromStdString(titel));
    }

private:
    VelmaroDlg& m_dlg;
};

} // namespace

void VelmaroDlg::DatenUebertragen(int seiten, int artikel) {
    FensterBeobachter beobachter(*this);
    Upload(beobachter, m_pSitzung, m_pFtpVerbindung).DatenUebertragen(*this, seiten, artikel);
    // Whatever the outcome: a failed upload can be tried again without a restart.
    m_btnUpdate->setEnabled(true);
}

void VelmaroDlg::SeiteOeffnen(const std::string& adresse) {
    // Hands the address to the default browser and does not wait; the outcome is not examined.
    QDesktopServices::openUrl(QUrl(zuUnicode(adresse), QUrl::TolerantMode));
}

void VelmaroDlg::OnKontrollseite() {
    const std::string& ftpAdresse = m_einstellungen[1];
    // The site's address is the FTP address without its first six characters ("ftp://").
    if (ftpAdresse.size() < 6) {
        Meldung(this,
                QStringLiteral(
                    "Die FTP-Adresse fehlt oder ist zu kurz, daher kann die Kontrollseite nicht geöffnet "
                    "werden.\nBitte tragen Sie die FTP-Adresse unter „FTP Zugangsdaten ändern“ ein."),
                QStringLiteral("Fehler"));
        return;
    }
    SeiteOeffnen("http://" + ftpAdresse.substr(6) + "/news.php?sitename=data/inhalt1.php");
}

void VelmaroDlg::OnHomepage() {
    SeiteOeffnen(kVerlagsAdresse);
}

} // namespace velmaro
