#include "platform/curlteile.h"

#include "platform/cp1252.h"

#include <sys/stat.h>

#include <cerrno>

namespace velmaro::curlteile {

std::string steuerzeichenGrund(const char* feld) {
    return std::string("Das Feld „") + feld +
           "“ der FTP-Zugangsdaten enthält ein Steuerzeichen (etwa einen Zeilenumbruch oder Tabulator). Es "
           "wurde keine Verbindung aufgebaut; bitte korrigieren Sie den Eintrag unter „FTP Zugangsdaten ändern“.";
}

bool Quelle::oeffnen(const std::filesystem::path& pfad, std::uint64_t& groesse, std::string& grund) {
    schliessen();
    lesefehler = false;
    errno = 0;
    datei = std::fopen(pfad.c_str(), "rb");
    struct stat st {};
    if (!datei || fstat(fileno(datei), &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool fehlt = errno == ENOENT;
        schliessen();
        grund = "Die lokale Datei „" + pfad.string() + (fehlt ? "“ fehlt." : "“ kann nicht gelesen werden.");
        return false;
    }
    groesse = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void Quelle::schliessen() {
    if (datei)
        std::fclose(datei);
    datei = nullptr;
}

size_t Quelle::lesen(char* b, size_t size, size_t n, void* self) {
    auto* q = static_cast<Quelle*>(self);
    const size_t gelesen = std::fread(b, 1, size * n, q->datei);
    if (gelesen == 0 && std::ferror(q->datei)) {
        q->lesefehler = true;
        return CURL_READFUNC_ABORT;
    }
    return gelesen;
}

size_t Antworten::zeile(char* b, size_t size, size_t n, void* self) {
    auto* a = static_cast<Antworten*>(self);
    std::string z(b, size * n);
    while (!z.empty() && (z.back() == '\n' || z.back() == '\r'))
        z.pop_back();
    const auto ziffer = [](char c) { return c >= '0' && c <= '9'; };
    if (z.size() >= 3 && ziffer(z[0]) && ziffer(z[1]) && ziffer(z[2])) {
        if (z.compare(0, 3, "220") == 0)
            a->begruesst = true;
        if (z.compare(0, 3, "230") == 0)
            a->angemeldet = true;
        a->letzte = z;
    }
    return size * n;
}

std::string Antworten::fuerMeldung(const std::string& passwort) const {
    std::string s;
    for (unsigned char c : letzte)
        if (c >= 0x20 && c != 0x7F)
            s += static_cast<char>(c);
    s = cp1252::toUtf8(s);
    const std::string geheim = cp1252::toUtf8(passwort);
    if (!geheim.empty())
        for (auto pos = s.find(geheim); pos != std::string::npos; pos = s.find(geheim, pos + 3))
            s.replace(pos, geheim.size(), "***");
    return s;
}

std::string escape(CURL* curl, const std::string& s) {
    char* e = curl_easy_escape(curl, s.data(), static_cast<int>(s.size()));
    std::string r = e ? e : "";
    curl_free(e);
    return r;
}

} // namespace velmaro::curlteile
