#include "store/datendateien.h"

#include "store/zustand.h"

namespace velmaro {

namespace {
// Real settings files hold a few hundred bytes.
constexpr std::uint64_t kEinstellungenMax = 1 << 20;

constexpr DatendateiArt kDateien[] = {
    {Datendatei::Daten, "daten.bit", 0644, UINT64_MAX, &VelmaroZustand::DatenDateiLesen,
     &VelmaroZustand::DatenSpeichern},
    {Datendatei::FtpConfig, "ftpconfig.bit", 0600, kEinstellungenMax, &VelmaroZustand::FtpDateiLesen,
     &VelmaroZustand::FtpConfigSpeichern},
    {Datendatei::StyleConfig, "styleconfig.bit", 0644, kEinstellungenMax, &VelmaroZustand::StyleDateiLesen,
     &VelmaroZustand::StyleConfigSpeichern},
    {Datendatei::Vertrauen, "vertrauen.bit", 0600, 1 << 20, nullptr, nullptr},
    {Datendatei::Uebertragen, "uebertragen.bit", 0600, 64 << 20, nullptr, nullptr},
    {Datendatei::Wiederherstellung, "wiederherstellung.bit", 0600, UINT64_MAX, nullptr, nullptr},
    {Datendatei::Sperre, "velmaro.sperre", 0644, UINT64_MAX, nullptr, nullptr},
};
} // namespace

const DatendateiArt& DateiArt(Datendatei datei) {
    for (const auto& d : kDateien)
        if (d.datei == datei)
            return d;
    return kDateien[0];
}

std::optional<Datendatei> DatendateiMitNamen(const std::string& name) {
    for (const auto& d : kDateien)
        if (name == d.name)
            return d.datei;
    return std::nullopt;
}

} // namespace velmaro
