#include "store/uebertragen.h"

#include "platform/file.h"
#include "store/datendateien.h"

namespace velmaro {

namespace {
constexpr const char* kKopf = "velmaro uebertragen 1";
constexpr const char* kServer = "server ";

bool sauber(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            return false;
    return !s.empty();
}
} // namespace

std::string Uebertragen::Text() const {
    std::string text = std::string(kKopf) + "\n" + kServer + server + "\n" + (passiv ? "passiv\n" : "");
    for (const auto& [name, e] : dateien)
        text += e.sha256 + " " + std::to_string(e.groesse) + " " + name + "\n";
    return text;
}

std::optional<Uebertragen> Uebertragen::Lesen(const std::string& text) {
    Uebertragen u;
    std::size_t pos = 0;
    int zeile = 0;
    while (pos < text.size()) {
        const std::size_t ende = text.find('\n', pos);
        // Every line ends with LF: a missing one means the file was cut short.
        if (ende == std::string::npos)
            return std::nullopt;
        const std::string z = text.substr(pos, ende - pos);
        pos = ende + 1;
        if (zeile++ == 0) {
            if (z != kKopf)
                return std::nullopt;
            continue;
        }
        if (zeile == 2) {
            if (z.rfind(kServer, 0) != 0)
                return std::nullopt;
            u.server = z.substr(7);
            continue;
        }
        if (zeile == 3 && z == "passiv") {
            u.passiv = true;
            continue;
        }
        const std::size_t a = z.find(' ');
        const std::size_t b = a == std::string::npos ? a : z.find(' ', a + 1);
        if (a != 64 || b == std::string::npos || b == a + 1 || b - a - 1 > 19)
            return std::nullopt;
        UebertragenEintrag e;
        e.sha256 = z.substr(0, 64);
        for (char c : e.sha256)
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
                return std::nullopt;
        for (std::size_t i = a + 1; i < b; ++i) {
            if (z[i] < '0' || z[i] > '9')
                return std::nullopt;
            e.groesse = e.groesse * 10 + static_cast<std::uint64_t>(z[i] - '0');
        }
        const std::string name = z.substr(b + 1);
        if (!sauber(name) || !u.dateien.emplace(name, e).second)
            return std::nullopt;
    }
    if (zeile < 2)
        return std::nullopt;
    return u;
}

bool Uebertragen::Laden(const std::filesystem::path& datei) {
    *this = {};
    std::error_code ec;
    if (!std::filesystem::exists(datei, ec))
        return true;
    std::string text;
    if (readWholeFile(datei, text, DateiArt(Datendatei::Uebertragen).hoechstens))
        if (auto u = Lesen(text)) {
            *this = std::move(*u);
            return true;
        }
    auto bak = datei;
    bak += ".bak";
    std::filesystem::rename(datei, bak, ec);
    const std::string name = DateiName(Datendatei::Uebertragen);
    m_fehler = "Die Aufzeichnung der übertragenen Dateien (data/" + name +
               ") war beschädigt; sie liegt nun als " + name +
               ".bak daneben, und alle Dateien werden noch einmal gesendet.";
    return false;
}

bool Uebertragen::Speichern(const std::filesystem::path& datei) {
    m_fehler.clear();
    m_entfernt = false;
    {
        SaveFile f(datei, DateiArt(Datendatei::Uebertragen).modus);
        try {
            if (f.open()) {
                const std::string text = Text();
                f.write(text.data(), text.size());
                if (f.commit())
                    return true;
            }
            m_fehler = f.errorText();
        } catch (const FileError& e) {
            m_fehler = e.what();
        }
    }
    std::error_code ec;
    std::filesystem::remove(datei, ec);
    m_entfernt = !ec;
    return false;
}

} // namespace velmaro
