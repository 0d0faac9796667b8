#pragma once
// The preview before publishing: the generated fragments of output/ as plain local HTML pages, each
// wrapped like the site's news.php and data/artikel.php wrap them, with the links pointing at the
// other local pages. Needs neither a server nor PHP.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The preview's page of a fragment: "inhalt3.php" gives "inhalt3.html".
std::string VorschauName(std::string_view fragment);

// The fragment with its links to news.php?sitename=data/inhalt<k>.php and
// data/artikel.php?sitename=artikel<n>.php turned into links to the preview's pages; every other
// byte unchanged.
std::string LinksUmschreiben(std::string_view fragment);

// A whole page around one fragment: the stylesheet, the page menu, then the fragment. The menu is
// closed first, as it ends inside an open table cell. The pictures' src "data/bilder/NAME" becomes
// bilder + "NAME" when bilder is given.
std::string VorschauSeite(std::string_view menu, std::string_view fragment, std::string_view titel,
                          std::string_view bilder = {});

struct VorschauErgebnis {
    std::filesystem::path ersteSeite;         // the first index page; empty when it could not be written
    std::vector<std::string> fehlendeDateien; // fragments not found or pages not written
};

// Writes style.css, inhalt1.html ... inhalt<anzahlSeiten>.html and artikel1.html ...
// artikel<anzahlArtikel>.html into ziel (created when missing) from the fragments in ausgabe; the
// pictures are shown from ausgabe/bilder/.
// Pages of an earlier, longer preview are removed, so that no page links to a stale one.
VorschauErgebnis VorschauSchreiben(const std::filesystem::path& ausgabe, int anzahlSeiten, int anzahlArtikel,
                                   const std::filesystem::path& ziel);

} // namespace velmaro
