#include "app/velmaroapp.h"

#include "app/curlstart.h"
#include "app/sitzung.h"
#include "platform/benutzerordner.h"
#include "ui/programmicon.h"
#include "ui/velmarodlg.h"
#include "widgets/meldung.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {
// Started from the menu there is no working folder of the user's choosing: the per-user one,
// created on the first start. Empty after a message when it cannot be had.
fs::path desktopOrdner() {
    const fs::path ordner = BenutzerOrdner(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::string fehler;
    std::error_code ec;
    if (BenutzerOrdnerAnlegen(ordner, fehler)) {
        // Relative paths, a file dialog's start among them, lead there too.
        fs::current_path(ordner, ec);
        if (!ec)
            return ordner;
        fehler = ec.message();
    }
    Meldung(nullptr,
            QStringLiteral("Der Ordner für Ihre Website (%1) konnte nicht angelegt werden: %2")
                .arg(QString::fromStdString(ordner.string()), QString::fromStdString(fehler)),
            QStringLiteral("Fehler"));
    return {};
}
} // namespace

int FensterStarten(int& argc, char** argv, const Aufruf& aufruf) {
    std::error_code ec;
    if (aufruf.ordner && !fs::is_directory(*aufruf.ordner, ec)) {
        std::cerr << "velmaro: Ordner " << aufruf.ordner->string() << " nicht gefunden\n";
        return 1;
    }
    QApplication app(argc, argv);
    AnwendungEinrichten();
    QApplication::setWindowIcon(ProgrammIcon());
    // Lets the desktop find the entry, and with it the icon, for the running window.
    QApplication::setDesktopFileName(QStringLiteral("de.dorvent.velmaro"));
    fs::path ordner = aufruf.ordner.value_or(".");
    if (aufruf.art == Aufruf::Art::Desktop) {
        ordner = desktopOrdner();
        if (ordner.empty())
            return 1;
    }
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
