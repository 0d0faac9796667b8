#include "platform/serverliste.h"

#include <algorithm>
#include <vector>

namespace velmaro {

namespace {
bool istZiffer(char c) {
    return c >= '0' && c <= '9';
}

std::vector<std::string> woerter(const std::string& zeile, std::size_t anzahl, std::string& rest) {
    std::vector<std::string> w;
    std::size_t pos = 0;
    while (w.size() < anzahl) {
        pos = zeile.find_first_not_of(" \t", pos);
        if (pos == std::string::npos)
            break;
        const std::size_t ende = std::min(zeile.find_first_of(" \t", pos), zeile.size());
        w.push_back(zeile.substr(pos, ende - pos));
        pos = ende;
    }
    pos = zeile.find_first_not_of(" \t", pos);
    rest = pos == std::string::npos ? std::string() : zeile.substr(pos);
    return w;
}

std::optional<std::uint64_t> zahl(const std::string& s) {
    if (s.empty() || s.size() > 19)
        return std::nullopt;
    std::uint64_t n = 0;
    for (char c : s) {
        if (!istZiffer(c))
            return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}

using Groessen = std::map<std::string, std::uint64_t>;

// Name and size of every file a listing names; zeileLesen reads one line without its line end and
// says whether it was in the expected form.
template <typename ZeileLesen>
std::optional<Groessen> listeLesen(const std::string& daten, ZeileLesen zeileLesen) {
    Groessen m;
    for (std::size_t anfang = 0; anfang < daten.size();) {
        const std::size_t ende = std::min(daten.find('\n', anfang), daten.size());
        std::string zeile = daten.substr(anfang, ende - anfang);
        anfang = ende + 1;
        if (!zeile.empty() && zeile.back() == '\r')
            zeile.pop_back();
        if (!zeile.empty() && !zeileLesen(zeile, m))
            return std::nullopt;
    }
    return m;
}

bool keineDatei(const std::string& name) {
    return name.empty() || name == "." || name == "..";
}

// "type=file;size=123;modify=...; name" per line.
bool mlsdZeile(const std::string& zeile, Groessen& m) {
    const auto leer = zeile.find(' ');
    if (leer == std::string::npos)
        return false;
    std::string fakten = zeile.substr(0, leer);
    for (char& c : fakten)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string name = zeile.substr(leer + 1);
    if (fakten.find("type=file;") == std::string::npos || keineDatei(name))
        return fakten.find("type=") != std::string::npos;
    const auto size = fakten.find("size=");
    if (size == std::string::npos)
        return false;
    const auto n = zahl(fakten.substr(size + 5, fakten.find(';', size) - size - 5));
    if (n)
        m[name] = *n;
    return n.has_value();
}

// The Unix "ls -l" form most servers give (permissions, links, owner, group, size, three date
// fields, name; "total N" before), or the DOS form of IIS (date, time, size or <DIR>, name).
bool lsZeile(const std::string& zeile, Groessen& m) {
    std::string name;
    auto w = woerter(zeile, 8, name);
    if (w.size() == 2 && w[0] == "total" && name.empty())
        return zahl(w[1]).has_value();
    if (w.size() == 8 && w[0].size() >= 10 && !name.empty()) {
        if (w[0][0] != '-')
            return true;
        const auto n = zahl(w[4]);
        if (n && !keineDatei(name))
            m[name] = *n;
        return n.has_value();
    }
    w = woerter(zeile, 3, name);
    const auto datum = [](const std::string& d) {
        return d.size() >= 8 && istZiffer(d[0]) && istZiffer(d[1]) && (d[2] == '-' || d[2] == '/');
    };
    if (w.size() == 3 && datum(w[0]) && w[1].find(':') != std::string::npos && !name.empty()) {
        if (w[2] == "<DIR>")
            return true;
        const auto n = zahl(w[2]);
        if (n && !keineDatei(name))
            m[name] = *n;
        return n.has_value();
    }
    return false;
}
} // namespace

std::optional<std::map<std::string, std::uint64_t>> MlsdLesen(const std::string& daten) {
    return listeLesen(daten, mlsdZeile);
}

std::optional<std::map<std::string, std::uint64_t>> ListeLesen(const std::string& daten) {
    return listeLesen(daten, lsZeile);
}

} // namespace velmaro
