#pragma once
// The server address as typed into the FTP address field: its form decides the protocol.
//   host, host:port, ftp://host[:port]   plain FTP (port 21)
//   ftps://host[:port]                   FTP over explicit TLS (AUTH TLS on port 21)
//   sftp://host[:port]                   SFTP (port 22)

#include <optional>
#include <string>

namespace velmaro {

enum class Protokoll { Ftp, Ftps, Sftp };

struct ServerAdresse {
    Protokoll protokoll = Protokoll::Ftp;
    std::string host; // Windows-1252, as typed
    long port = 21;

    // The same server with its host in lower case: host names are compared without regard to case.
    ServerAdresse vergleichbar() const;
    bool operator==(const ServerAdresse&) const = default;
};

// "ftp", "ftps" or "sftp".
const char* ProtokollName(Protokoll p);
long StandardPort(Protokoll p);
std::optional<Protokoll> ProtokollAusName(const std::string& name);

// The scheme in any case, one trailing slash allowed; nothing is resolved. Empty when the text is
// none of the forms (no host, a path, a port outside 1 to 65535, a character no host name has).
std::optional<ServerAdresse> AdresseLesen(const std::string& text);

// The site's public address as the FTP dialog takes it: http:// or https:// (any case), a host, an
// optional port and path; no user, query, fragment, blank or quote, since pages and the feed append
// their own paths to it.
bool WebAdresseGueltig(const std::string& text);
// Where the site's pages are reached, ending in "/": the site's address when one is set, else
// "http://HOST/" with HOST from the FTP address as the check page takes it. Empty when the set
// address is no web address or the FTP address names no server.
std::optional<std::string> WebsiteAdresse(const std::string& website, const std::string& ftpAdresse);

} // namespace velmaro
