#include "platform/benutzerordner.h"

#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

fs::path BenutzerOrdner(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / "velmaro";
    if (home && fs::path(home).is_absolute())
        return fs::path(home) / ".local/share/velmaro";
    return {};
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
