#pragma once
// FTPS and SFTP servers on 127.0.0.1 at a free port (tests/support/ftpsserver.py with pyftpdlib,
// OpenSSH's sshd by tests/support/echtserver), with the user of ftpserver.h and a fresh
// login folder; and the certificates and host keys they present, made by openssl and ssh-keygen,
// whose fingerprints those tools print.

#include "ftpserver.h"
#include "tempdir.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace velmaro::test {

struct Zertifikat {
    std::filesystem::path cert, key;
    std::string fingerabdruck; // as `openssl x509 -fingerprint -sha256` prints it
};
// A self-signed certificate for CN=name.
Zertifikat ZertifikatErzeugen(const std::filesystem::path& ordner, const std::string& name);

struct Hostschluessel {
    std::filesystem::path datei;
    std::string fingerabdruck; // as `ssh-keygen -l -E sha256` prints it
};
Hostschluessel HostschluesselErzeugen(const std::filesystem::path& ordner, const std::string& name);

// The real servers of tests/support/echtserver: vsftpd (plain FTP, active or passive), vsftpd with
// explicit TLS, OpenSSH's sshd with internal-sftp, and that sshd with an impostor answering the third
// connection.
enum class Echt { Ftp, Ftps, Sftp, SftpFremdBeiDrei };

class SicherServer : public FtpServer {
public:
    // FTPS requiring TLS on both connections; optionen for ftpsserver.py ("--fremd-bei N
    // --fremd-cert PEM": the Nth connection presents another certificate).
    explicit SicherServer(const Zertifikat& z, const std::string& optionen = "");
    // A real server, logged into as kFtpBenutzer with kFtpPasswort.
    explicit SicherServer(Echt art);
    // SFTP with password login (OpenSSH's sshd) presenting h.
    explicit SicherServer(const Hostschluessel& h);
    // Plain FTP that refuses AUTH TLS.
    SicherServer();

    // The next client gets this certificate.
    void ZertifikatWechseln(const Zertifikat& z);
    // What a real server presents: "AB:CD:…", "SHA256:…", empty for plain FTP.
    const std::string& fingerabdruck() const { return m_fingerabdruck; }

private:
    void echtStarten(const char* art, const std::string& schluessel);

    std::string m_fingerabdruck;
};

// USER and PASS over FTP, password logins over SFTP, as the server saw them.
long Anmeldungen(const FtpServer& s);

// An FTPS or SFTP server presenting identity a, and how to make it present b: what every trust
// test needs.
struct WechselServer {
    WechselServer(const std::filesystem::path& ordner, bool sftp);
    void wechseln();

    std::string alt, neu; // the fingerprints of a and b
    std::unique_ptr<SicherServer> server;

private:
    bool m_sftp;
    Zertifikat m_zertifikat;
    Hostschluessel m_schluessel;
};

} // namespace velmaro::test
