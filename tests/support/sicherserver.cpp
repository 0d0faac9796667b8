#include "sicherserver.h"

#include <csignal>
#include <fstream>
#include <stdexcept>

namespace velmaro::test {

namespace fs = std::filesystem;

namespace {

std::string ausgabe(const std::string& befehl) {
    std::FILE* p = popen(befehl.c_str(), "r");
    if (!p)
        throw std::runtime_error("cannot run " + befehl);
    std::string s;
    char puffer[512];
    while (std::fgets(puffer, sizeof puffer, p))
        s += puffer;
    if (pclose(p) != 0)
        throw std::runtime_error(befehl + " failed");
    while (!s.empty() && s.back() == '\n')
        s.pop_back();
    return s;
}

// The text after the first '=' ("sha256 Fingerprint=AB:..." -> "AB:...").
std::string nachGleich(const std::string& s) {
    return s.substr(s.find('=') + 1);
}

} // namespace

Zertifikat ZertifikatErzeugen(const fs::path& ordner, const std::string& name) {
    Zertifikat z{ordner / (name + ".pem"), ordner / (name + ".key"), {}, {}};
    ausgabe("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj '/CN=" +
            name + "' -keyout '" + z.key.string() + "' -out '" + z.cert.string() + "' 2>&1");
    z.fingerabdruck =
        nachGleich(ausgabe("openssl x509 -noout -fingerprint -sha256 -in '" + z.cert.string() + "'"));
    z.inhaber = nachGleich(ausgabe("openssl x509 -noout -subject -in '" + z.cert.string() + "'"));
    return z;
}

Hostschluessel HostschluesselErzeugen(const fs::path& ordner, const std::string& name) {
    Hostschluessel h{ordner / name, {}};
    ausgabe("ssh-keygen -q -t ed25519 -N '' -C '' -f '" + h.datei.string() + "'");
    const std::string zeile = ausgabe("ssh-keygen -l -E sha256 -f '" + h.datei.string() + ".pub'");
    const auto anfang = zeile.find(' ') + 1;
    h.fingerabdruck = zeile.substr(anfang, zeile.find(' ', anfang) - anfang);
    return h;
}

SicherServer::SicherServer(const Zertifikat& z) {
    ZertifikatWechseln(z);
    starten("ftpsserver.py", "--cert '" + (m_ordner / "cert.pem").string() + "' --key '" +
                                 (m_ordner / "cert.key").string() + "'");
}

SicherServer::SicherServer(const Hostschluessel& h) : m_schema("sftp") {
    starten("sftpserver.py", "--hostkey '" + h.datei.string() + "'");
}

SicherServer::SicherServer() {
    starten("ftpsserver.py", "--plain");
}

void SicherServer::starten(const std::string& skript, const std::string& optionen) {
    fs::create_directories(wurzel());
    const std::string befehl = "exec /usr/bin/python3 -E '" VELMARO_SOURCE_DIR "/tests/support/" + skript +
                               "' --root '" + wurzel().string() + "' --user " + kFtpBenutzer +
                               " --password " + kFtpPasswort + " --log '" +
                               (m_ordner / "befehle.log").string() + "' " + optionen;
    m_aus = popen(befehl.c_str(), "r");
    if (!m_aus || std::fscanf(m_aus, "%d %d", &m_port, &m_pid) != 2) {
        if (m_aus)
            pclose(m_aus);
        throw std::runtime_error("the test server " + skript +
                                 " did not start (python3-pyftpdlib, python3-openssl, python3-asyncssh?)");
    }
}

SicherServer::~SicherServer() {
    if (m_pid > 0)
        kill(m_pid, SIGKILL);
    if (m_aus)
        pclose(m_aus);
}

std::vector<std::string> SicherServer::befehle() const {
    std::vector<std::string> zeilen;
    std::ifstream in(m_ordner / "befehle.log");
    for (std::string z; std::getline(in, z);)
        zeilen.push_back(z);
    return zeilen;
}

void SicherServer::ZertifikatWechseln(const Zertifikat& z) {
    // Key first: the server reads both when the certificate file is new.
    fs::copy_file(z.key, m_ordner / "neu.key", fs::copy_options::overwrite_existing);
    fs::rename(m_ordner / "neu.key", m_ordner / "cert.key");
    fs::copy_file(z.cert, m_ordner / "neu.pem", fs::copy_options::overwrite_existing);
    fs::rename(m_ordner / "neu.pem", m_ordner / "cert.pem");
}

} // namespace velmaro::test
