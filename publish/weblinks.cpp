// The two web links, as the main window runs them.
#include "publish/weblinks.h"

#include "platform/meldung.h"
#include "platform/serveradresse.h"
#include "platform/unicode.h"
#include "site/generator.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmaro {

namespace {
constexpr const char* kSeite = "news.php?sitename=data/inhalt1.php";
} // namespace

void SeiteOeffnen(QWidget* parent, const std::string& adresse) {
    const QUrl url(zuUnicode(adresse), QUrl::TolerantMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        Meldung(parent, QStringLiteral("„%1“ ist keine gültige Webadresse.").arg(zuUnicode(adresse)),
                QStringLiteral("Fehler"));
        return;
    }
    if (!QDesktopServices::openUrl(url))
        Meldung(parent,
                QStringLiteral("Es konnte kein Browser gestartet werden, um %1 zu öffnen.\nBitte öffnen Sie "
                               "die Adresse selbst im Browser.")
                    .arg(url.toString()),
                QStringLiteral("Fehler"));
}

std::optional<std::string> KontrollseitenAdresse(const FtpZugangsdaten& ftp) {
    if (const auto basis = WebsiteAdresse(ftp.website, ftp.adresse))
        return *basis + kSeite;
    return std::nullopt;
}

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
