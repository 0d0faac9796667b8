// The style settings file styleconfig.bit: sixteen texts and four flags in a fixed order.
#include "app/zustand.h"
#include "store/archive.h"

namespace velmaro {

bool VelmaroZustand::StyleConfigLaden(Device& file) {
    Archive ar(file, Archive::Load);
    auto& e = m_einstellungen;
    ar >> e[4] >> e[5] >> e[6] >> e[7] >> e[8] >> m_datumBold >> m_datumUnderline;
    ar >> e[9] >> e[10] >> e[11] >> e[12] >> e[13] >> m_overBold >> m_overUnderline;
    ar >> e[14] >> e[15] >> e[16] >> e[17] >> e[18] >> e[19];
    ar.close();
    return true;
}

bool VelmaroZustand::StyleConfigSpeichern(Device& file) {
    Archive ar(file, Archive::Store);
    const auto& e = m_einstellungen;
    ar << e[4] << e[5] << e[6] << e[7] << e[8] << m_datumBold << m_datumUnderline;
    ar << e[9] << e[10] << e[11] << e[12] << e[13] << m_overBold << m_overUnderline;
    ar << e[14] << e[15] << e[16] << e[17] << e[18] << e[19];
    ar.close();
    return true;
}

} // namespace velmaro
