#pragma once
// A real FTP server on 127.0.0.1 at a free port (Debian's pyftpdlib, tests/support/ftpserver.py) with
// one user and a fresh login folder; killed when the object goes.

#include "tempdir.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velmaro::test {

inline constexpr const char* kFtpBenutzer = "velmaro";
inline constexpr const char* kFtpPasswort = "Geheim-42";

class FtpServer {
public:
    // optionen for ftpserver.py: "--no-mkd", "--refuse <file name>", and the faults of a server
    // during an upload: "--stop-after <files>", "--stall <file name>", "--full-after <files>".
    explicit FtpServer(const std::string& optionen = "");
    virtual ~FtpServer() { anhalten(); }
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // "127.0.0.1:<port>", as typed into the FTP address field, with the scheme of a server of
    // another protocol in front.
    std::string adresse() const {
        return (m_schema.empty() ? "" : m_schema + "://") + "127.0.0.1:" + std::to_string(m_port);
    }
    std::filesystem::path wurzel() const { return m_ordner / "wurzel"; } // the user's login folder
    // The conversation from command ab on: USER, CWD, MKD, STOR and QUIT with their argument;
    // PASS and the data connection commands (PORT, PASV, ...) without.
    std::vector<std::string> befehle(std::size_t ab = 0) const;
    // Afterwards nothing listens at adresse().
    void anhalten();

protected:
    struct Schema {
        std::string name;
    };
    explicit FtpServer(Schema schema) : m_schema(std::move(schema.name)) {}
    // Runs tests/support/<skript> with the user, the login folder and the log, then optionen.
    void starten(const std::string& skript, const std::string& optionen);

    TempDir m_ordner;
    std::string m_schema;
    std::FILE* m_aus = nullptr;
    int m_pid = -1;
    int m_port = 0;
};

} // namespace velmaro::test
