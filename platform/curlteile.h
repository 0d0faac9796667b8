#pragma once
// The connection's pieces on libcurl: the local file being sent and the server's reply lines. Used
// inside platform/ only.

#include <curl/curl.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace velmaro::curlteile {

// The local file of one transfer, read by libcurl (CURLOPT_READFUNCTION lesen, READDATA this).
struct Quelle {
    std::FILE* datei = nullptr;
    bool lesefehler = false;

    Quelle() = default;
    Quelle(const Quelle&) = delete;
    Quelle& operator=(const Quelle&) = delete;
    ~Quelle() { schliessen(); }
    // False with grund (UTF-8) when the file is missing, unreadable or no regular file.
    bool oeffnen(const std::filesystem::path& pfad, std::uint64_t& groesse, std::string& grund);
    void schliessen();
    static size_t lesen(char* b, size_t size, size_t n, void* self);
};

// The control connection's reply lines (CURLOPT_HEADERFUNCTION zeile, HEADERDATA this): the last
// "NNN text" line, and whether the greeting (220) and the login (230) were seen.
struct Antworten {
    std::string letzte;
    bool begruesst = false;
    bool angemeldet = false;
    bool verschluesselt = false; // AUTH TLS accepted (234)

    static size_t zeile(char* b, size_t size, size_t n, void* self);
    // The last line as a message may show it: readable, UTF-8, without the password should a
    // server echo it, in any case, code page or URL encoding.
    std::string fuerMeldung(const std::string& passwort) const;
};

std::string escape(CURL* curl, const std::string& s);

} // namespace velmaro::curlteile
