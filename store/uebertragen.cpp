#include "store/uebertragen.h"

#include "platform/file.h"

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

std::string uebertragenText(const Uebertragen& u) {
    std::string text = std::string(kKopf) + "\n" + kServer + u.server + "\n" + (u.passiv ? "passiv\n" : "");
    for (const auto& [name, e] : u.dateien)
        text += e.sha256 + " " + std::to_string(e.groesse) + " " + name + "\n";
    return text;
}

std::optional<Uebertragen> uebertragenLesen(const std::string& text) {
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

Uebertragen uebertragenLaden(const std::filesystem::path& datei, std::string& hinweis) {
    std::error_code ec;
    if (!std::filesystem::exists(datei, ec))
        return {};
    std::string text;
    if (readWholeFile(datei, text, 64 << 20))
        if (auto u = uebertragenLesen(text))
            return *u;
    auto bak = datei;
    bak += ".bak";
    std::filesystem::rename(datei, bak, ec);
    hinweis =
        "Die Aufzeichnung der übertragenen Dateien (data/uebertragen.bit) war beschädigt; sie liegt nun "
        "als uebertragen.bit.bak daneben, und alle Dateien werden noch einmal gesendet.";
    return {};
}

bool uebertragenSpeichern(const std::filesystem::path& datei, const Uebertragen& u, std::string& fehler,
                          bool& entfernt) {
    entfernt = false;
    {
        SaveFile f(datei, 0600);
        try {
            if (f.open()) {
                const std::string text = uebertragenText(u);
                f.write(text.data(), text.size());
                if (f.commit())
                    return true;
            }
            fehler = f.errorText();
        } catch (const FileError& e) {
            fehler = e.what();
        }
    }
    std::error_code ec;
    std::filesystem::remove(datei, ec);
    entfernt = !ec;
    return false;
}

} // namespace velmaro
