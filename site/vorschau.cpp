// The preview: the fragments of output/ as local HTML pages in vorschau/.
#include "site/vorschau.h"

#include "platform/file.h"
#include "site/bilder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {

struct Ziel {
    std::string_view vorher; // the link up to the number
    std::string_view seite;  // the preview page's name up to the number
};
// The two forms the generated links take.
constexpr Ziel kZiele[] = {{"news.php?sitename=data/inhalt", "inhalt"},
                           {"data/artikel.php?sitename=artikel", "artikel"}};

bool istZiffer(char c) {
    return c >= '0' && c <= '9';
}

bool gleichOhneGross(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

// The preview page for the link value starting at wert, and the length of the value it replaces;
// 0 when the value is none of the generated links.
std::size_t linkErkennen(std::string_view wert, char anfuehrung, std::string& seite) {
    for (const Ziel& ziel : kZiele) {
        if (!wert.starts_with(ziel.vorher))
            continue;
        std::size_t i = ziel.vorher.size();
        const std::size_t ziffern = i;
        while (i < wert.size() && istZiffer(wert[i]))
            ++i;
        if (i == ziffern || wert.substr(i, 4) != ".php")
            return 0;
        i += 4;
        const bool endet =
            anfuehrung
                ? i < wert.size() && wert[i] == anfuehrung
                : i == wert.size() || std::isspace(static_cast<unsigned char>(wert[i])) || wert[i] == '>';
        if (!endet)
            return 0;
        seite = std::string(ziel.seite) + std::string(wert.substr(ziffern, i - 4 - ziffern)) + ".html";
        return i;
    }
    return 0;
}

bool dateiSchreiben(const fs::path& pfad, std::string_view bytes) {
    BinaryFile datei;
    if (!datei.createOrTruncate(pfad))
        return false;
    try {
        datei.write(bytes.data(), bytes.size());
        datei.close();
    } catch (const FileError&) {
        return false;
    }
    return true;
}

bool istVorschauSeite(const std::string& name) {
    for (std::string_view art : {"inhalt", "artikel"}) {
        if (!name.starts_with(art) || !name.ends_with(".html"))
            continue;
        const std::string_view nummer =
            std::string_view(name).substr(art.size(), name.size() - art.size() - 5);
        if (!nummer.empty() && std::all_of(nummer.begin(), nummer.end(), istZiffer))
            return true;
    }
    return false;
}

} // namespace

std::string VorschauName(std::string_view fragment) {
    if (fragment.ends_with(".php"))
        fragment.remove_suffix(4);
    return std::string(fragment) + ".html";
}

std::string LinksUmschreiben(std::string_view fragment) {
    std::string out;
    out.reserve(fragment.size());
    std::size_t i = 0;
    while (i < fragment.size()) {
        const bool href = i + 5 <= fragment.size() && gleichOhneGross(fragment.substr(i, 5), "href=");
        if (!href) {
            out += fragment[i++];
            continue;
        }
        out += fragment.substr(i, 5);
        i += 5;
        char anfuehrung = 0;
        if (i < fragment.size() && (fragment[i] == '"' || fragment[i] == '\'')) {
            anfuehrung = fragment[i];
            out += fragment[i++];
        }
        std::string seite;
        if (const std::size_t laenge = linkErkennen(fragment.substr(i), anfuehrung, seite)) {
            out += seite;
            i += laenge;
        }
    }
    return out;
}

std::string VorschauSeite(std::string_view menu, std::string_view fragment, std::string_view titel,
                          std::string_view bilder) {
    // No doctype: the stylesheet may hold lengths without a unit ("width:500"), which browsers
    // apply only to pages without one, as the site's own pages are.
    std::string seite = "<html>\n<head>\n<meta charset=\"windows-1252\">\n<title>";
    seite += titel;
    seite += "</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n";
    if (!menu.empty()) {
        seite += LinksUmschreiben(menu);
        seite += "</td></tr></table>\n";
    }
    if (bilder.empty()) {
        seite += LinksUmschreiben(fragment);
    } else {
        BildQuellenAnhaengen(seite, LinksUmschreiben(fragment), kBildSrcSeite, bilder);
    }
    seite += "\n</body>\n</html>\n";
    return seite;
}

VorschauErgebnis VorschauSchreiben(const fs::path& ausgabe, int anzahlSeiten, int anzahlArtikel,
                                   const fs::path& ziel) {
    VorschauErgebnis ergebnis;
    std::error_code ec;
    fs::create_directories(ziel, ec);
    for (fs::directory_iterator it(ziel, ec), ende; !ec && it != ende; it.increment(ec)) {
        if (istVorschauSeite(it->path().filename().string()))
            fs::remove(it->path(), ec);
    }

    std::string css;
    if (!readWholeFile(ausgabe / "style.css", css) || !dateiSchreiben(ziel / "style.css", css))
        ergebnis.fehlendeDateien.push_back("style.css");
    std::string menu;
    if (!readWholeFile(ausgabe / "inhalt0.php", menu))
        ergebnis.fehlendeDateien.push_back("inhalt0.php");

    const std::string bilder = fs::relative(ausgabe / "bilder", ziel, ec).generic_string() + "/";
    auto schreiben = [&](const std::string& fragmentName, const std::string& titel) {
        std::string fragment;
        const fs::path seite = ziel / VorschauName(fragmentName);
        if (!readWholeFile(ausgabe / fragmentName, fragment) ||
            !dateiSchreiben(seite, VorschauSeite(menu, fragment, titel, bilder))) {
            ergebnis.fehlendeDateien.push_back(fragmentName);
            return false;
        }
        return true;
    };
    for (int k = 1; k <= anzahlSeiten; ++k) {
        if (schreiben("inhalt" + std::to_string(k) + ".php", "Vorschau: Seite " + std::to_string(k)) &&
            k == 1)
            ergebnis.ersteSeite = fs::absolute(ziel / "inhalt1.html", ec).lexically_normal();
    }
    for (int n = 1; n <= anzahlArtikel; ++n)
        schreiben("artikel" + std::to_string(n) + ".php", "Vorschau: Artikel " + std::to_string(n));
    return ergebnis;
}

} // namespace velmaro
