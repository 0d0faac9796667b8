#pragma once
// The per-user site folder of a start from the desktop menu, where no working folder of the user's
// choosing exists.

#include <filesystem>
#include <string>

namespace velmaro {

// $XDG_DATA_HOME/velmaro, or ~/.local/share/velmaro when that variable is unset, empty or not an
// absolute path (as the XDG base directory rules say); empty when neither variable helps.
std::filesystem::path BenutzerOrdner(const char* xdgDataHome, const char* home);

// $XDG_STATE_HOME/velmaro, or ~/.local/state/velmaro: what the program keeps for itself between runs.
std::filesystem::path BenutzerZustandsOrdner(const char* xdgStateHome, const char* home);

// Creates ordner with data/ and output/ when missing. Returns the system's reason when it fails.
bool BenutzerOrdnerAnlegen(const std::filesystem::path& ordner, std::string& fehler);

} // namespace velmaro
