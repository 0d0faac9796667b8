#pragma once
// A real FTP server on 127.0.0.1 for the upload tests (Debian's pyftpdlib, run by /usr/bin/python3
// with tests/support/ftpserver.py). Started at a free port with one user and a fresh login folder;
// killed when the object goes.

#include "tempdir.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmaro::test {

struct FtpServerOptionen {
    std::string benutzer = "velmaro";
    std::string passwort = "Geheim-42";
    // MKD is answered with 550.
    bool ohneMkd = false;
    // STOR of these file names is refused.
    std::vector<std::string> abgelehnt;
};

class FtpServer {
public:
    explicit FtpServer(FtpServerOptionen optionen = {});
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    int port() const { return m_port; }
    // "127.0.0.1:<port>", as typed into the FTP address field.
    std::string adresse() const;
    const FtpServerOptionen& optionen() const { return m_optionen; }
    // The FTP user's login folder.
    std::filesystem::path wurzel() const { return m_ordner / "wurzel"; }
    // Every command the server received so far, in order ("PASS" without its argument).
    std::vector<std::string> befehle() const;
    // Kills the server now, as a server that goes away during an upload.
    void anhalten();

private:
    FtpServerOptionen m_optionen;
    TempDir m_ordner;
    pid_t m_pid = -1;
    int m_port = 0;
};

// A port on 127.0.0.1 where nothing listens.
int freierPort();

} // namespace velmaro::test
