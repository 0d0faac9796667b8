#include "sicherserver.h"

#include <algorithm>

#include <csignal>
#include <stdexcept>

namespace velmaro::test {

namespace fs = std::filesystem;

namespace {

// The first line a tool prints, without its line break.
std::string zeile(const std::string& befehl) {
    const std::string aus = Ausfuehren(befehl).second;
    return aus.substr(0, aus.find('\n'));
}

} // namespace

Zertifikat ZertifikatErzeugen(const fs::path& ordner, const std::string& name) {
    Zertifikat z{ordner / (name + ".pem"), ordner / (name + ".key"), {}};
    zeile("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj '/CN=" +
          name + "' -keyout '" + z.key.string() + "' -out '" + z.cert.string() +
          "' >/dev/null 2>&1 && echo ok");
    z.fingerabdruck =
        zeile("openssl x509 -noout -fingerprint -sha256 -in '" + z.cert.string() + "' | cut -d= -f2");
    return z;
}

Hostschluessel HostschluesselErzeugen(const fs::path& ordner, const std::string& name) {
    Hostschluessel h{ordner / name, {}};
    zeile("ssh-keygen -q -t ed25519 -N '' -C '' -f '" + h.datei.string() + "' && echo ok");
    h.fingerabdruck = zeile("ssh-keygen -l -E sha256 -f '" + h.datei.string() + ".pub' | cut -d' ' -f2");
    return h;
}

SicherServer::SicherServer(const Zertifikat& z, const std::string& optionen) : FtpServer(Schema{"ftps"}) {
    ZertifikatWechseln(z);
    starten("ftpsserver.py", "--cert '" + (m_ordner / "server.pem").string() + "' " + optionen);
}

SicherServer::SicherServer(Echt art)
    : FtpServer(Schema{art == Echt::Ftp    ? "ftp"
                       : art == Echt::Ftps ? "ftps"
                                           : "sftp"}) {
    const char* namen[] = {"vsftpd", "vsftpd-tls", "sshd", "sshd-fremd"};
    echtStarten(namen[static_cast<int>(art)], "");
}

void SicherServer::echtStarten(const char* art, const std::string& schluessel) {
    const std::string befehl = std::string("exec '" VELMARO_SOURCE_DIR "/tests/support/echtserver' ") + art +
                               " '" + m_ordner.path().string() + "' " + kFtpBenutzer + " " + kFtpPasswort +
                               " '" + schluessel + "'";
    m_aus = popen(befehl.c_str(), "r");
    char abdruck[200] = {};
    if (!m_aus || std::fscanf(m_aus, "%d %d %199s", &m_port, &m_pid, abdruck) != 3)
        throw std::runtime_error("the real test server did not start (vsftpd, openssh-server, run as root?)");
    m_fingerabdruck = abdruck[0] == '-' ? "" : abdruck;
}

SicherServer::SicherServer(const Hostschluessel& h) : FtpServer(Schema{"sftp"}) {
    echtStarten("sshd", h.datei.string());
}

SicherServer::SicherServer() : FtpServer(Schema{"ftps"}) {
    starten("ftpsserver.py", "--plain");
}

void SicherServer::ZertifikatWechseln(const Zertifikat& z) {
    // Certificate and key in one file, replaced at once.
    writeFile(m_ordner / "neu.pem", readFile(z.cert) + readFile(z.key));
    fs::rename(m_ordner / "neu.pem", m_ordner / "server.pem");
}

long Anmeldungen(const FtpServer& s) {
    const auto b = s.befehle();
    return std::count_if(b.begin(), b.end(), [](const std::string& z) {
        return z.rfind("USER", 0) == 0 || z == "PASS" ||
               z.find(std::string("password for ") + kFtpBenutzer) != std::string::npos;
    });
}

WechselServer::WechselServer(const std::filesystem::path& ordner, bool sftp) : m_sftp(sftp) {
    if (sftp) {
        const auto a = HostschluesselErzeugen(ordner, "a");
        m_schluessel = HostschluesselErzeugen(ordner, "b");
        alt = a.fingerabdruck, neu = m_schluessel.fingerabdruck;
        server = std::make_unique<SicherServer>(a);
    } else {
        const auto a = ZertifikatErzeugen(ordner, "velmaro-a");
        m_zertifikat = ZertifikatErzeugen(ordner, "velmaro-b");
        alt = a.fingerabdruck, neu = m_zertifikat.fingerabdruck;
        server = std::make_unique<SicherServer>(a);
    }
}

void WechselServer::wechseln() {
    if (m_sftp)
        server = std::make_unique<SicherServer>(m_schluessel);
    else
        server->ZertifikatWechseln(m_zertifikat);
}

} // namespace velmaro::test
