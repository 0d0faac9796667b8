// The FTP settings file ftpconfig.bit: four plain text lines.
#include "app/zustand.h"

namespace velmaro {

void VelmaroZustand::FtpConfigLesen(TextFile& file) {
    for (int i = 0; i < 4; ++i)
        file.readLine(m_einstellungen[i]);
}

std::string VelmaroZustand::FtpConfigText() const {
    const auto& e = m_einstellungen;
    return e[0] + "\n" + e[1] + "\n" + e[2] + "\n" + e[3];
}

} // namespace velmaro
