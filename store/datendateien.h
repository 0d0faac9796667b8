#pragma once
// The files velmaro keeps in data/: each one's name, who may read it, how large a file is still
// read, and for the three of the site's state how VelmaroZustand reads and writes it. No other
// place spells these names.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace velmaro {

class Device;
class VelmaroZustand;
enum class Ladezustand;

// Sperre: the lock of the one velmaro that works on the folder; it holds that process's id.
enum class Datendatei { Daten, FtpConfig, StyleConfig, Vertrauen, Uebertragen, Wiederherstellung, Sperre };

struct DatendateiArt {
    Datendatei datei;
    const char* name;
    // A file holding the password, the user's name on the server, whom the user trusts or what the
    // user typed is readable by its owner only.
    mode_t modus;
    // A larger file is not read.
    std::uint64_t hoechstens;
    // The site's state: read at start, written by "Beenden". Null for the files whose own classes
    // read and write them.
    Ladezustand (VelmaroZustand::*lesen)();
    bool (VelmaroZustand::*speichern)(Device& file);
};

const DatendateiArt& DateiArt(Datendatei datei);
inline const char* DateiName(Datendatei datei) {
    return DateiArt(datei).name;
}
// The files of the site's state in the order "Beenden" writes them.
inline constexpr Datendatei kZustandsDateien[] = {Datendatei::FtpConfig, Datendatei::Daten,
                                                  Datendatei::StyleConfig};
// The file of data/ called name; nothing for any other name.
std::optional<Datendatei> DatendateiMitNamen(const std::string& name);
inline bool IstDatendatei(const std::string& name) {
    return DatendateiMitNamen(name).has_value();
}

} // namespace velmaro
