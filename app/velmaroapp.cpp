#include "app/velmaroapp.h"

#include "app/curlstart.h"
#include "app/sitzung.h"
#include "app/version.h"
#include "platform/meldung.h"
#include "ui/programmicon.h"
#include "ui/velmarodlg.h"

#include <QApplication>

namespace velmaro {

int VelmaroApp::InitInstance(int argc, char** argv, const std::filesystem::path& ordner) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmaro"));
    QApplication::setApplicationVersion(QStringLiteral(VELMARO_VERSION));
    QApplication::setWindowIcon(ProgrammIcon());
    // Lets the desktop find the entry, and with it the icon, for the running window.
    QApplication::setDesktopFileName(QStringLiteral("de.dorvent.velmaro"));
    const CurlStart curl;
    if (!curl.ok()) {
        Meldung(nullptr, QStringLiteral("Fehler beim Initialisieren der Windows-Sockets."),
                QApplication::applicationName());
        return 1;
    }
    VelmaroDlg dlg(ordner);
    return FensterAusfuehren(dlg);
}

} // namespace velmaro
