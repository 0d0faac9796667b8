#include "ui/weblinks.h"

#include "publish/weblinks.h"
#include "site/generator.h"
#include "widgets/browser.h"
#include "widgets/meldung.h"

namespace velmaro {

void KontrollseiteOeffnen(QWidget* parent, const std::string& ftpAdresse) {
    const auto adresse = KontrollseitenAdresse(ftpAdresse);
    if (!adresse) {
        Meldung(parent,
                QStringLiteral("Die FTP-Adresse fehlt oder nennt keinen Server, daher kann die Kontrollseite "
                               "nicht geöffnet werden.\nBitte tragen Sie die FTP-Adresse unter „FTP "
                               "Zugangsdaten ändern“ ein."),
                QStringLiteral("Fehler"));
        return;
    }
    SeiteOeffnen(parent, *adresse);
}

void HomepageOeffnen(QWidget* parent) {
    SeiteOeffnen(parent, kVerlagsAdresse);
}

} // namespace velmaro
