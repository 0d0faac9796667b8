#include "publish/sendeplan.h"

namespace velmaro {

Sendeplan SendeplanErstellen(const std::vector<LokaleDatei>& dateien, const Uebertragen& record,
                             const std::string& server,
                             const std::optional<std::map<std::string, std::uint64_t>>& liste, bool alle) {
    Sendeplan plan;
    for (const LokaleDatei& d : dateien) {
        bool aktuell = !alle && record.server == server;
        if (aktuell) {
            const auto e = record.dateien.find(d.name);
            aktuell = e != record.dateien.end() && e->second.sha256 == d.summe.sha256 &&
                      e->second.groesse == d.summe.groesse;
            if (aktuell && liste) {
                const auto dort = liste->find(d.name);
                aktuell = dort != liste->end() && dort->second == e->second.groesse;
            }
        }
        (aktuell ? plan.aktuell : plan.senden).push_back(d.name);
    }
    return plan;
}

} // namespace velmaro
