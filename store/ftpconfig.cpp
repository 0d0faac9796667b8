// The FTP settings file ftpconfig.bit: four plain text lines.
#include "store/zustand.h"

namespace velmaro {

void VelmaroZustand::FtpConfigLesen(TextFile& file) {
    for (std::string* zeile : {&m_ftp.name, &m_ftp.adresse, &m_ftp.zugangsname, &m_ftp.passwort})
        file.readLine(*zeile);
}

std::string VelmaroZustand::FtpConfigText() const {
    const auto& f = m_ftp;
    return f.name + "\n" + f.adresse + "\n" + f.zugangsname + "\n" + f.passwort;
}

} // namespace velmaro
