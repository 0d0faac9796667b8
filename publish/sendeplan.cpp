#include "publish/sendeplan.h"

namespace velmaro {

Sendeplan SendeplanErstellen(const std::vector<LokaleDatei>& dateien, const Uebertragen& record,
                             const std::string& server, const std::map<std::string, std::uint64_t>& dort,
                             bool alle) {
    Sendeplan plan;
    for (const LokaleDatei& d : dateien) {
        bool aktuell = !alle && record.server == server;
        if (aktuell) {
            const auto e = record.dateien.find(d.name);
            aktuell = e != record.dateien.end() && e->second.sha256 == d.summe.sha256 &&
                      e->second.groesse == d.summe.groesse;
            if (aktuell) {
                const auto da = dort.find(d.name);
                aktuell = da != dort.end() && da->second == e->second.groesse;
            }
        }
        (aktuell ? plan.aktuell : plan.senden).push_back(d.name);
    }
    return plan;
}

} // namespace velmaro
