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
#include <utility>

namespace velmaro {

struct UebertragenEintrag {
    std::uint64_t groesse = 0;
    std::string sha256; // 64 lowercase hex digits

    bool operator==(const UebertragenEintrag&) const = default;
};

class Uebertragen {
public:
    Uebertragen(std::string fuer = {}, bool passivModus = false,
                std::map<std::string, UebertragenEintrag> eintraege = {})
        : server(std::move(fuer))
        , passiv(passivModus)
        , dateien(std::move(eintraege)) {}

    // The record in datei; a missing one is empty. A damaged or unreadable one counts as empty too
    // and is moved aside to datei + ".bak": false, with fehlerText() saying so, and every file is
    // sent once more.
    bool Laden(const std::filesystem::path& datei);
    // Replaces datei atomically; false with fehlerText() on failure. A record that cannot be
    // written is removed, so that it never claims what was not confirmed; entfernt() says whether
    // that worked.
    bool Speichern(const std::filesystem::path& datei);
    // UTF-8.
    const std::string& fehlerText() const { return m_fehler; }
    bool entfernt() const { return m_entfernt; }

    // The file's bytes, and the record they hold: nothing when the text is not such a record
    // (damaged, cut short, another format).
    std::string Text() const;
    static std::optional<Uebertragen> Lesen(const std::string& text);

    // Protocol, host, port and user of the server the entries are for.
    std::string server;
    // Plain FTP in passive mode: the server's active-mode data connections did not come.
    bool passiv = false;
    std::map<std::string, UebertragenEintrag> dateien;

    bool operator==(const Uebertragen& b) const {
        return server == b.server && passiv == b.passiv && dateien == b.dateien;
    }

private:
    std::string m_fehler;
    bool m_entfernt = false;
};

} // namespace velmaro
