#include "widgets/browser.h"

#include "platform/unicode.h"
#include "widgets/meldung.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmaro {

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

} // namespace velmaro
