#include "platform/benutzerordner.h"

#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {
fs::path xdgOrdner(const char* xdg, const char* home, const char* standard) {
    if (xdg && fs::path(xdg).is_absolute())
        return fs::path(xdg) / "velmaro";
    if (home && fs::path(home).is_absolute())
        return fs::path(home) / standard / "velmaro";
    return {};
}
} // namespace

fs::path BenutzerOrdner(const char* xdgDataHome, const char* home) {
    return xdgOrdner(xdgDataHome, home, ".local/share");
}

fs::path BenutzerZustandsOrdner(const char* xdgStateHome, const char* home) {
    return xdgOrdner(xdgStateHome, home, ".local/state");
}

bool BenutzerOrdnerAnlegen(const fs::path& ordner, std::string& fehler) {
    if (ordner.empty()) {
        fehler = "weder XDG_DATA_HOME noch HOME nennt einen Ordner";
        return false;
    }
    std::error_code ec;
    for (const fs::path& teil : {ordner / "data", ordner / "output"}) {
        fs::create_directories(teil, ec);
        if (ec) {
            fehler = ec.message();
            return false;
        }
    }
    return true;
}

} // namespace velmaro
