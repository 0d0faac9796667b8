#include "ui/weblinks.h"

#include "platform/unicode.h"
#include "publish/weblinks.h"
#include "site/generator.h"
#include "widgets/browser.h"
#include "widgets/meldung.h"

namespace velmaro {

void KontrollseiteOeffnen(QWidget* parent, const FtpZugangsdaten& ftp) {
    const auto adresse = KontrollseitenAdresse(ftp);
    if (!adresse && !ftp.website.empty()) {
        // Only a hand-edited file gets here: the dialog refuses such an address.
        Meldung(parent,
                QStringLiteral("Die Adresse der Website „%1“ ist keine http- oder https-Adresse, daher kann "
                               "die Kontrollseite nicht geöffnet werden.")
                    .arg(zuUnicode(ftp.website)),
                QStringLiteral("Fehler"));
        return;
    }
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
