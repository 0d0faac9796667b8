#include "platform/serverzugang.h"

namespace velmaro {

std::string Serverzugang::schluessel() const {
    const ServerAdresse a = adresse.vergleichbar();
    return std::string(ProtokollName(a.protokoll)) + " " + a.host + " " + std::to_string(a.port) + " " +
           benutzer;
}

} // namespace velmaro
