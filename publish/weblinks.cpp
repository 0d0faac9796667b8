// The two web links, as the main window runs them.
#include "publish/weblinks.h"

#include "platform/meldung.h"
#include "platform/unicode.h"
#include "site/generator.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmaro {

void SeiteOeffnen(const std::string& adresse) {
    QDesktopServices::openUrl(QUrl(zuUnicode(adresse), QUrl::TolerantMode));
}

void KontrollseiteOeffnen(QWidget* parent, const std::string& ftpAdresse) {
    // The site's address is the FTP address without its first six characters ("ftp://").
    if (ftpAdresse.size() < 6) {
        Meldung(parent,
                QStringLiteral(
                    "Die FTP-Adresse fehlt oder ist zu kurz, daher kann die Kontrollseite nicht geöffnet "
                    "werden.\nBitte tragen Sie die FTP-Adresse unter „FTP Zugangsdaten ändern“ ein."),
                QStringLiteral("Fehler"));
        return;
    }
    SeiteOeffnen("http://" + ftpAdresse.substr(6) + "/news.php?sitename=data/inhalt1.php");
}

void HomepageOeffnen() {
    SeiteOeffnen(kVerlagsAdresse);
}

} // namespace velmaro
