#include "app/desktopstart.h"

#include "app/velmaroapp.h"
#include "platform/benutzerordner.h"
#include "platform/meldung.h"

#include <QApplication>

#include <cstdlib>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

int desktopStart(int argc, char** argv) {
    const fs::path ordner = BenutzerOrdner(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::string fehler;
    std::error_code ec;
    bool bereit = BenutzerOrdnerAnlegen(ordner, fehler);
    if (bereit) {
        // The window works in the working folder: from now on the per-user one.
        fs::current_path(ordner, ec);
        bereit = !ec;
        fehler = ec.message();
    }
    if (!bereit) {
        QApplication app(argc, argv);
        Meldung(nullptr,
                QStringLiteral("Der Ordner für Ihre Website (%1) konnte nicht angelegt werden: %2")
                    .arg(QString::fromStdString(ordner.string()), QString::fromStdString(fehler)),
                QStringLiteral("Fehler"));
        return 1;
    }
    return VelmaroApp().InitInstance(1, argv);
}

} // namespace velmaro
