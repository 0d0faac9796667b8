// The preview: the fragments of output/ as local HTML pages in vorschau/.
#include "site/vorschau.h"

#include "platform/ersatzordner.h"
#include "platform/file.h"
#include "site/bilder.h"
#include "site/generator.h"

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
        const bool href = i + 5 <= fragment.size() && GleichOhneGross(fragment.substr(i, 5), "href=");
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
    seite += "</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n"
             "<link rel=\"alternate\" type=\"application/atom+xml\" title=\"Newsfeed\" href=\"feed.xml\">\n"
             "</head>\n<body>\n";
    if (!menu.empty()) {
        seite += LinksUmschreiben(menu);
        seite += "</td></tr></table>\n";
    }
    if (bilder.empty())
        seite += LinksUmschreiben(fragment);
    else
        BildQuellenAnhaengen(seite, LinksUmschreiben(fragment), kBildSrcSeite, bilder);
    seite += "\n<p><a href=\"feed.xml\">Newsfeed (Atom)</a></p>\n</body>\n</html>\n";
    return seite;
}

VorschauErgebnis VorschauSchreiben(const fs::path& ausgabe, const std::vector<std::string>& dateien,
                                   const fs::path& ziel) {
    VorschauErgebnis ergebnis;
    // Written like output/: swapped in whole, so a full disk leaves the previous preview, and never
    // through a link.
    ErsatzOrdner vorschau(ziel, ErsatzOrdner::Ablehnen);
    for (const char* name : {kStylesheetName, kFeedName}) {
        std::string bytes;
        if (!readWholeFile(ausgabe / name, bytes) || !vorschau.schreiben(name, bytes))
            ergebnis.fehlendeDateien.push_back(name);
    }
    std::string menu;
    if (!readWholeFile(ausgabe / "inhalt0.php", menu))
        ergebnis.fehlendeDateien.push_back("inhalt0.php");

    std::error_code ec;
    const std::string bilder = fs::relative(ausgabe / "bilder", ziel, ec).generic_string() + "/";
    auto schreiben = [&](const std::string& fragmentName, const std::string& titel) {
        std::string fragment;
        if (!readWholeFile(ausgabe / fragmentName, fragment) ||
            !vorschau.schreiben(VorschauName(fragmentName), VorschauSeite(menu, fragment, titel, bilder)))
            ergebnis.fehlendeDateien.push_back(fragmentName);
    };
    // The run's pages come in their order: index pages from 1, then articles from 1.
    int seite = 0, artikel = 0;
    for (const std::string& name : dateien) {
        if (name == SeitenName(seite + 1))
            schreiben(name, "Vorschau: Seite " + std::to_string(++seite));
        else if (name == ArtikelName(artikel + 1))
            schreiben(name, "Vorschau: Artikel " + std::to_string(++artikel));
    }
    if (vorschau.tauschen() && seite >= 1 &&
        std::find(ergebnis.fehlendeDateien.begin(), ergebnis.fehlendeDateien.end(), SeitenName(1)) ==
            ergebnis.fehlendeDateien.end()) {
        ergebnis.ersteSeite = fs::absolute(ziel / VorschauName(SeitenName(1)), ec).lexically_normal();
    }
    ergebnis.grund = vorschau.fehlerText();
    return ergebnis;
}

} // namespace velmaro
