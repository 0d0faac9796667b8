// The FTP settings file ftpconfig.bit: four plain text lines and the site's address as an optional
// fifth; readers of four lines pass over it.
#include "store/zustand.h"

namespace velmaro {

void VelmaroZustand::FtpConfigLesen(TextFile& file) {
    for (std::string* zeile :
         {&m_ftp.name, &m_ftp.adresse, &m_ftp.zugangsname, &m_ftp.passwort, &m_ftp.website})
        file.readLine(*zeile);
}

bool VelmaroZustand::FtpConfigSpeichern(Device& file) {
    writeTextString(file, FtpConfigText());
    return true;
}

std::string VelmaroZustand::FtpConfigText() const {
    const auto& f = m_ftp;
    const std::string text = f.name + "\n" + f.adresse + "\n" + f.zugangsname + "\n" + f.passwort;
    return f.website.empty() ? text : text + "\n" + f.website;
}

} // namespace velmaro
