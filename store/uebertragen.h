#pragma once
// The record of what the server holds, data/uebertragen.bit: for one server, the name, size and
// SHA-256 of every file whose arrival was confirmed there. An upload sends only what differs.
//
// A text file: the line "velmaro uebertragen 1", the line "server " + the server's key, the line
// "passiv" when passive mode is used, then one line "<sha256> <size> <name>" per file.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace velmaro {

inline constexpr const char* kUebertragenDatei = "uebertragen.bit";

struct UebertragenEintrag {
    std::uint64_t groesse = 0;
    std::string sha256; // 64 lowercase hex digits

    bool operator==(const UebertragenEintrag&) const = default;
};

struct Uebertragen {
    // Protocol, host, port and user of the server the entries are for.
    std::string server;
    // Plain FTP in passive mode: the server's active-mode data connections did not come.
    bool passiv = false;
    std::map<std::string, UebertragenEintrag> dateien;

    bool operator==(const Uebertragen&) const = default;
};

std::string uebertragenText(const Uebertragen& u);
// Nothing when the text is not such a record (damaged, cut short, another format).
std::optional<Uebertragen> uebertragenLesen(const std::string& text);

// The record in datei; a missing one is empty. A damaged or unreadable one counts as empty too and
// is moved aside to datei + ".bak" (hinweis, UTF-8, says so), so every file is sent once more.
Uebertragen uebertragenLaden(const std::filesystem::path& datei, std::string& hinweis);
// Replaces datei atomically; false with fehler (UTF-8) on failure. A record that cannot be
// written is removed, so that it never claims what was not confirmed; entfernt says whether that
// worked.
bool uebertragenSpeichern(const std::filesystem::path& datei, const Uebertragen& u, std::string& fehler,
                          bool& entfernt);

} // namespace velmaro
