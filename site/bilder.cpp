// Pictures in the generated pages: references in the bodies, their src, the preview's cut and the
// conversion into the output folder.
#include "site/bilder.h"

#include "platform/bild.h"
#include "platform/file.h"
#include "store/bildablage.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace velmaro {

namespace fs = std::filesystem;

namespace {

bool istBuchstabe(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool istLeer(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

char klein(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool gleichOhneGross(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return klein(x) == y; });
}

// A tag starts with "<" and a letter, "/", "!" or "?"; any other "<" is text.
bool tagAnfang(std::string_view html, std::size_t i) {
    return html[i] == '<' && i + 1 < html.size() &&
           (istBuchstabe(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!' || html[i + 1] == '?');
}

// The index after the ">" that ends the tag starting at i, a ">" inside quotes not counting;
// npos when the tag never ends.
std::size_t tagEnde(std::string_view html, std::size_t i) {
    char anfuehrung = 0;
    for (++i; i < html.size(); ++i) {
        const char c = html[i];
        if (anfuehrung) {
            if (c == anfuehrung)
                anfuehrung = 0;
        } else if (c == '"' || c == '\'') {
            anfuehrung = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// The index after the ";" of the entity starting at i ("&amp;", "&#228;"); npos when none starts
// there.
std::size_t entityEnde(std::string_view html, std::size_t i) {
    constexpr std::size_t kLaengste = 32;
    std::size_t j = i + 1;
    while (j < html.size() && j - i <= kLaengste &&
           (istBuchstabe(html[j]) || (html[j] >= '0' && html[j] <= '9') || (html[j] == '#' && j == i + 1)))
        ++j;
    return j > i + 1 && j < html.size() && html[j] == ';' ? j + 1 : std::string_view::npos;
}

// The element name of a tag (lower case), without the "/" of an end tag.
std::string tagName(std::string_view tag, bool& ende) {
    std::size_t i = 1;
    ende = i < tag.size() && tag[i] == '/';
    if (ende)
        ++i;
    std::string name;
    while (i < tag.size() && (istBuchstabe(tag[i]) || (tag[i] >= '0' && tag[i] <= '9')))
        name += klein(tag[i++]);
    return name;
}

// Elements that have no end tag.
bool leeresElement(std::string_view name) {
    static constexpr std::string_view kLeer[] = {"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                                 "input", "link", "meta", "param", "source", "track", "wbr"};
    return std::find(std::begin(kLeer), std::end(kLeer), name) != std::end(kLeer);
}

} // namespace

std::vector<BildVerweis> BildVerweise(std::string_view html, std::string_view praefix) {
    std::vector<BildVerweis> verweise;
    for (std::size_t i = html.find('<'); i != std::string_view::npos; i = html.find('<', i + 1)) {
        if (i + 4 >= html.size() || !gleichOhneGross(html.substr(i + 1, 3), "img") ||
            !(istLeer(html[i + 4]) || html[i + 4] == '/' || html[i + 4] == '>'))
            continue;
        const std::size_t ende = std::min(tagEnde(html, i), html.size());
        std::size_t j = i + 4;
        while (j < ende) {
            while (j < ende && (istLeer(html[j]) || html[j] == '/'))
                ++j;
            const std::size_t nameAnfang = j;
            while (j < ende && !istLeer(html[j]) && html[j] != '=' && html[j] != '>')
                ++j;
            const std::string_view name = html.substr(nameAnfang, j - nameAnfang);
            while (j < ende && istLeer(html[j]))
                ++j;
            if (j >= ende || html[j] != '=') {
                if (j < ende && html[j] == '>')
                    break;
                continue;
            }
            ++j;
            while (j < ende && istLeer(html[j]))
                ++j;
            std::size_t wert = j;
            std::size_t wertEnde = j;
            if (j < ende && (html[j] == '"' || html[j] == '\'')) {
                wert = j + 1;
                wertEnde = std::min(html.find(html[j], wert), ende);
                j = wertEnde + 1;
            } else {
                while (wertEnde < ende && !istLeer(html[wertEnde]) && html[wertEnde] != '>')
                    ++wertEnde;
                j = wertEnde;
            }
            const std::string_view w = html.substr(wert, wertEnde - wert);
            if (gleichOhneGross(name, "src") && w.size() > praefix.size() && w.starts_with(praefix))
                verweise.push_back({wert, std::string(w.substr(praefix.size()))});
        }
        i = ende - 1;
    }
    return verweise;
}

void BildQuellenAnhaengen(std::string& out, std::string_view html, std::string_view alt,
                          std::string_view neu) {
    std::size_t kopiert = 0;
    for (const BildVerweis& v : BildVerweise(html, alt)) {
        out += html.substr(kopiert, v.wert - kopiert);
        out += neu;
        kopiert = v.wert + alt.size();
    }
    out += html.substr(kopiert);
}

std::string VorschauText(std::string_view body, std::size_t len) {
    if (body.size() <= len)
        return std::string(body);
    std::size_t schnitt = len;
    std::vector<std::string> offen;
    std::size_t i = 0;
    while (i < schnitt) {
        std::size_t ende = i + 1;
        if (body.substr(i, 4) == "<!--") {
            const std::size_t schluss = body.find("-->", i + 4);
            ende = schluss == std::string_view::npos ? schluss : schluss + 3;
        } else if (tagAnfang(body, i)) {
            ende = tagEnde(body, i);
            if (ende <= schnitt) {
                bool endTag = false;
                const std::string name = tagName(body.substr(i, ende - i), endTag);
                const bool selbstSchliessend = body[ende - 2] == '/';
                if (endTag) {
                    const auto it = std::find(offen.rbegin(), offen.rend(), name);
                    if (it != offen.rend())
                        offen.erase(std::next(it).base(), offen.end());
                } else if (!name.empty() && !selbstSchliessend && !leeresElement(name)) {
                    offen.push_back(name);
                }
            }
        } else if (body[i] == '&') {
            const std::size_t e = entityEnde(body, i);
            ende = e == std::string_view::npos ? i + 1 : e;
        }
        if (ende > schnitt) {
            schnitt = i;
            break;
        }
        i = ende;
    }
    std::string text(body.substr(0, schnitt));
    for (auto it = offen.rbegin(); it != offen.rend(); ++it)
        text += "</" + *it + ">";
    return text;
}

namespace {

// A file is current when it is not older than the picture it was made from.
bool aktuell(const fs::path& datei, fs::file_time_type quelle) {
    std::error_code ec;
    const auto zeit = fs::last_write_time(datei, ec);
    return !ec && zeit >= quelle && fs::is_regular_file(fs::symlink_status(datei, ec));
}

// ziel as a second name of the conversion, or a copy where the folders lie apart; replaced whole.
bool uebernehmen(const fs::path& konvertiert, const fs::path& ziel, std::string& fehler) {
    fs::path neu = ziel;
    neu += ".neu";
    std::error_code ec;
    fs::remove(neu, ec);
    fs::create_hard_link(konvertiert, neu, ec);
    if (!ec) {
        fs::rename(neu, ziel, ec);
        if (!ec)
            return true;
        fs::remove(neu, ec);
    }
    std::string bytes;
    if (!readWholeFile(konvertiert, bytes)) {
        fehler = "Umwandlung nicht lesbar";
        return false;
    }
    return replaceFile(ziel, bytes, 0644, fehler);
}

void aufraeumen(const fs::path& ordner, const std::set<std::string>& namen) {
    std::error_code ec;
    for (fs::directory_iterator it(ordner, ec), ende; !ec && it != ende; it.increment(ec)) {
        std::error_code ec2;
        if (!namen.contains(it->path().filename().string()) && !it->is_directory(ec2))
            fs::remove(it->path(), ec2);
    }
}

} // namespace

std::vector<BildFehler> BilderErzeugen(const fs::path& quelle, const fs::path& ziel,
                                       const std::set<std::string>& namen, const fs::path& cache) {
    std::vector<BildFehler> fehler;
    std::error_code ec;
    if (!namen.empty()) {
        fs::create_directories(ziel, ec);
        fs::create_directories(cache, ec);
    }
    aufraeumen(ziel, namen);
    aufraeumen(cache, namen);

    struct Auftrag {
        std::string name;
        std::string fehler;
        bool ok = false;
    };
    std::vector<Auftrag> umwandeln;
    for (const std::string& name : namen) {
        if (!BildNameGueltig(name)) {
            fehler.emplace_back(name, "ungültiger Name (erlaubt sind Buchstaben, Ziffern, - _ und .)");
            continue;
        }
        const auto zeit = fs::last_write_time(quelle / name, ec);
        if (ec) {
            fehler.emplace_back(name, "fehlt in data/bilder");
            continue;
        }
        if (aktuell(ziel / name, zeit))
            continue;
        if (std::string grund; aktuell(cache / name, zeit)) {
            if (!uebernehmen(cache / name, ziel / name, grund))
                fehler.emplace_back(name, grund);
            continue;
        }
        umwandeln.push_back({name, {}, false});
    }

    // Large photos take a while each: every core converts.
    std::atomic<std::size_t> naechster{0};
    const auto arbeiten = [&] {
        for (std::size_t i = naechster++; i < umwandeln.size(); i = naechster++) {
            Auftrag& a = umwandeln[i];
            a.ok = BildUmwandeln(quelle / a.name, cache / a.name, a.fehler) &&
                   (ziel == cache || uebernehmen(cache / a.name, ziel / a.name, a.fehler));
        }
    };
    const std::size_t helfer =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), umwandeln.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < helfer; ++t)
        threads.emplace_back(arbeiten);
    arbeiten();
    for (auto& t : threads)
        t.join();
    for (const Auftrag& a : umwandeln)
        if (!a.ok)
            fehler.emplace_back(a.name, a.fehler);
    std::sort(fehler.begin(), fehler.end());
    return fehler;
}

} // namespace velmaro
