// The HTML fragments of the news pages: index page rows, article pages and the page menu. Texts go
// in byte for byte, as articles may hold HTML on purpose, except "<?": the server runs the fragments
// as PHP, so an article's "<?php ... ?>" would run there and "<?xml" would break the page. A picture's
// src gains the folder the site's pages find it in, and a preview never ends inside a tag.
#include "site/generator.h"

#include "site/bilder.h"
#include "store/datetime.h"

namespace velmaro {

namespace {
void textAnhaengen(std::string& out, std::string_view text) {
    for (std::size_t code; (code = text.find("<?")) != std::string_view::npos; text.remove_prefix(code + 1)) {
        out += text.substr(0, code);
        out += "&lt;";
    }
    out += text;
}
} // namespace

std::string SeitenName(int k) {
    return "inhalt" + std::to_string(k) + ".php";
}

std::string ArtikelName(int n) {
    return "artikel" + std::to_string(n) + ".php";
}

std::vector<std::string> SeitenDateien(int seiten, int artikel) {
    std::vector<std::string> namen;
    namen.reserve(static_cast<std::size_t>(std::max(0, seiten) + std::max(0, artikel)) + 3);
    namen.push_back(kStylesheetName);
    for (int i = 0; i <= seiten; ++i)
        namen.push_back(SeitenName(i));
    for (int j = 1; j <= artikel; ++j)
        namen.push_back(ArtikelName(j));
    // Last: the articles it links to are there before readers learn of them.
    namen.push_back(kFeedName);
    return namen;
}

void VorschauZeileAnhaengen(std::string& out, const Artikel& a, std::string_view artikelName) {
    out += "<tr><td class=datum><font class=datum_text>";
    out += formatDatum(a.datum);
    out += "</font></td> <td class=over><font class=over_text>";
    textAnhaengen(out, a.ueberschrift);
    out += "</font></td></tr><tr><td class=text colspan=2><font class=text_text>";
    std::string text;
    BildQuellenAnhaengen(text, VorschauText(a.textinhalt, kVorschauLaenge));
    textAnhaengen(out, text);
    out += ".....<br>....</font><a href=data/artikel.php?sitename=";
    out += artikelName;
    out += " onmouseover=\"status='Zum Artikelinhalt';return true\" onmouseout=\"status='';return true\">"
           "<b>zum Inhalt</b></a></td></tr>";
}

void ArtikelSeiteAnhaengen(std::string& out, const Artikel& a) {
    out += "<table class=newstable><tr><td class=datum><font class=datum_text>";
    out += formatDatum(a.datum);
    out += "</font></td><td class=over><font class=over_text>";
    textAnhaengen(out, a.ueberschrift);
    out += "</font></td></tr><tr><td class=text colspan=2><font class=text_text>";
    std::string text;
    BildQuellenAnhaengen(text, a.textinhalt);
    textAnhaengen(out, text);
    out += "</font></td></tr><td class=textinhalt colspan=2><div align=center><font face=Arial size=1 >"
           "Diese Internetseite wird mit einem Content Management System vom<a href=";
    out += kVerlagsAdresse;
    out +=
        " onmouseover=\"status='Zum Dorvent';return true\" onmouseout=\"status='';return true\"> Dorvent</a>"
        " aktualisiert</font></div></table>";
}

std::string MenuText(int anzahlSeiten) {
    std::string menu;
    if (anzahlSeiten < 2)
        return menu;
    menu.reserve(40 + 165 * static_cast<std::size_t>(anzahlSeiten));
    menu += "<table class=inhaltsverzeichnis><tr><td>";
    for (int k = 1; k <= anzahlSeiten; ++k) {
        const std::string nummer = std::to_string(k);
        menu += "<a href=news.php?sitename=data/inhalt";
        menu += nummer;
        menu +=
            ".php onmouseover=\"status='Seitenwechsel';return true\" onmouseout=\"status='';return true\" "
            "class=out><b> | Seite ";
        menu += nummer;
        menu += " |</b></a>";
    }
    return menu;
}

} // namespace velmaro
