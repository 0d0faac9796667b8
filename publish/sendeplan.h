#pragma once
// Which generated files an upload must send, from the record of what the server holds and one
// listing of the remote folder.

#include "platform/pruefsumme.h"
#include "store/uebertragen.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmaro {

struct LokaleDatei {
    std::string name;
    DateiPruefsumme summe;
};

struct Sendeplan {
    std::vector<std::string> senden;  // in upload order
    std::vector<std::string> aktuell; // already on the server as they are here
};

// A file is sent when alle is set, when the record has no entry for it or one with other bytes,
// or when the server lacks it or holds another size than recorded (someone changed the server, or
// emptied it). dort holds the sizes the server told; a file whose size it could not tell is sent.
// A record for another server counts as empty.
Sendeplan SendeplanErstellen(const std::vector<LokaleDatei>& dateien, const Uebertragen& record,
                             const std::string& server, const std::map<std::string, std::uint64_t>& dort,
                             bool alle);

} // namespace velmaro
