#pragma once
// The record of what the server holds, data/uebertragen.bit: for one server, the name, size and
// SHA-256 of every file whose arrival was confirmed there. An upload sends only what differs.
//
// A text file: the line "velmaro uebertragen 1", the line "server " + the server's key, then one
// line "<sha256> <size> <name>" per file.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace velmaro {

struct UebertragenEintrag {
    std::uint64_t groesse = 0;
    std::string sha256; // 64 lowercase hex digits

    bool operator==(const UebertragenEintrag&) const = default;
};

struct Uebertragen {
    // Protocol, host, port and user of the server the entries are for.
    std::string server;
    std::map<std::string, UebertragenEintrag> dateien;

    bool operator==(const Uebertragen&) const = default;
};

std::string uebertragenText(const Uebertragen& u);
// Nothing when the text is not such a record (damaged, cut short, another format).
std::optional<Uebertragen> uebertragenLesen(const std::string& text);

} // namespace velmaro
