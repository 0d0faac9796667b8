#include "platform/curlteile.h"

#include "platform/cp1252.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <vector>

namespace velmaro::curlteile {

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
        if (z.compare(0, 3, "234") == 0)
            a->verschluesselt = true;
        a->letzte = z;
    }
    return size * n;
}

namespace {
// Servers that follow RFC 2640 answer in UTF-8; anything else is taken as Windows-1252.
bool istUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}
} // namespace

std::string Antworten::fuerMeldung(const std::string& passwort) const {
    std::string s;
    for (unsigned char c : letzte)
        if (c >= 0x20 && c != 0x7F)
            s += static_cast<char>(c);
    if (!istUtf8(s))
        s = cp1252::toUtf8(s);
    if (passwort.empty())
        return s;
    // Compared without case, for the Latin-1 letters too; %-escapes with either case of hex digit,
    // and '+' for a space.
    const auto klein = [](std::string t) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            const auto c = static_cast<unsigned char>(t[i]);
            const bool latin1Gross =
                i > 0 && static_cast<unsigned char>(t[i - 1]) == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97;
            t[i] = static_cast<char>(latin1Gross ? c + 0x20 : std::tolower(c));
        }
        return t;
    };
    const auto prozent = [](const std::string& t, bool plus) {
        std::string r;
        for (unsigned char c : t) {
            if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~')
                r += static_cast<char>(c);
            else if (plus && c == ' ')
                r += '+';
            else {
                static const char* hex = "0123456789abcdef";
                r += '%';
                r += hex[c >> 4];
                r += hex[c & 15];
            }
        }
        return r;
    };
    const std::string utf = cp1252::toUtf8(passwort);
    std::vector<std::string> formen = {utf,
                                       passwort,
                                       prozent(passwort, false),
                                       prozent(utf, false),
                                       prozent(passwort, true),
                                       prozent(utf, true)};
    // Longest first, so no tail of a longer form is left over.
    std::sort(formen.begin(), formen.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const std::string& form : formen) {
        const std::string f = klein(form);
        for (std::size_t pos = klein(s).find(f); pos != std::string::npos; pos = klein(s).find(f, pos + 3))
            s.replace(pos, f.size(), "***");
    }
    return s;
}

std::string escape(CURL* curl, const std::string& s) {
    char* e = curl_easy_escape(curl, s.data(), static_cast<int>(s.size()));
    std::string r = e ? e : "";
    curl_free(e);
    return r;
}

} // namespace velmaro::curlteile
