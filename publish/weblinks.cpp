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
constexpr const char* kSeite = "/news.php?sitename=data/inhalt1.php";
} // namespace

void SeiteOeffnen(QWidget* parent, const std::string& adresse) {
    const QUrl url(zuUnicode(adresse), QUrl::TolerantMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http")) {
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

std::optional<std::string> KontrollseitenAdresse(const std::string& ftpAdresse) {
    // The form the page was made for: the address without its first six characters ("ftp://").
    if (ftpAdresse.rfind("ftp://", 0) == 0 && ftpAdresse.find_first_of(":@", 6) == std::string::npos)
        return "http://" + ftpAdresse.substr(6) + kSeite;
    if (const auto a = AdresseLesen(ftpAdresse))
        return "http://" + a->host + kSeite;
    return std::nullopt;
}

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
