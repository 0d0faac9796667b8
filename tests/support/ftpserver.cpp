#include "ftpserver.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <stdexcept>

namespace velmaro::test {

FtpServer::FtpServer(const std::string& optionen) {
    starten("ftpserver.py", optionen);
}

void FtpServer::starten(const std::string& skript, const std::string& optionen) {
    std::filesystem::create_directories(wurzel());
    // -E: Debian's modules, whatever PYTHONPATH the developer's shell sets.
    const std::string befehl = "exec /usr/bin/python3 -E '" VELMARO_SOURCE_DIR "/tests/support/" + skript +
                               "' --root '" + wurzel().string() + "' --user " + kFtpBenutzer +
                               " --password " + kFtpPasswort + " --log '" +
                               (m_ordner / "befehle.log").string() + "' " + optionen;
    m_aus = popen(befehl.c_str(), "r");
    if (!m_aus || std::fscanf(m_aus, "%d %d", &m_port, &m_pid) != 2) {
        anhalten();
        throw std::runtime_error("the test server " + skript +
                                 " did not start (is python3-pyftpdlib or python3-openssl installed?)");
    }
}

void FtpServer::anhalten() {
    if (m_pid > 0)
        kill(m_pid, SIGTERM);
    if (m_aus)
        pclose(m_aus);
    m_aus = nullptr;
    m_pid = -1;
}

std::vector<std::string> FtpServer::befehle(std::size_t ab) const {
    std::vector<std::string> zeilen;
    std::ifstream in(m_ordner / "befehle.log");
    for (std::string z; std::getline(in, z);)
        zeilen.push_back(z);
    zeilen.erase(zeilen.begin(), zeilen.begin() + static_cast<long>(std::min(ab, zeilen.size())));
    return zeilen;
}

} // namespace velmaro::test
