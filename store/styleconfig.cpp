// The style settings file styleconfig.bit: sixteen texts and four flags in a fixed order, then the
// two picture margins when either is set.
#include "store/archive.h"
#include "store/zustand.h"

namespace velmaro {

bool VelmaroZustand::StyleConfigLaden(Device& file) {
    Archive ar(file, Archive::Load);
    auto& s = m_style;
    ar >> s.datumHintergrund >> s.datumBreite >> s.datumFarbe >> s.datumGroesse >> s.datumSchrift >>
        s.datumBold >> s.datumUnderline;
    ar >> s.overHintergrund >> s.overBreite >> s.overFarbe >> s.overGroesse >> s.overSchrift >> s.overBold >>
        s.overUnderline;
    ar >> s.textHintergrund >> s.textFarbe >> s.textGroesse >> s.textSchrift >> s.tabelleHintergrund >>
        s.tabelleBreite;
    s.bildHorizontal.clear();
    s.bildVertikal.clear();
    if (!ar.amEnde())
        ar >> s.bildHorizontal >> s.bildVertikal;
    ar.close();
    return true;
}

bool VelmaroZustand::StyleConfigSpeichern(Device& file) {
    Archive ar(file, Archive::Store);
    const auto& s = m_style;
    ar << s.datumHintergrund << s.datumBreite << s.datumFarbe << s.datumGroesse << s.datumSchrift
       << s.datumBold << s.datumUnderline;
    ar << s.overHintergrund << s.overBreite << s.overFarbe << s.overGroesse << s.overSchrift << s.overBold
       << s.overUnderline;
    ar << s.textHintergrund << s.textFarbe << s.textGroesse << s.textSchrift << s.tabelleHintergrund
       << s.tabelleBreite;
    if (!s.bildHorizontal.empty() || !s.bildVertikal.empty())
        ar << s.bildHorizontal << s.bildVertikal;
    ar.close();
    return true;
}

} // namespace velmaro
