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

// A whole page around one fragment: the stylesheet, the page menu, the fragment and a link to the
// feed. The menu is closed first, as it ends inside an open table cell. The pictures' src
// "data/bilder/NAME" becomes bilder + "NAME" when bilder is given.
std::string VorschauSeite(std::string_view menu, std::string_view fragment, std::string_view titel,
                          std::string_view bilder = {});

struct VorschauErgebnis {
    std::filesystem::path ersteSeite;         // the first index page; empty when it could not be written
    std::vector<std::string> fehlendeDateien; // fragments not found or pages not written
    std::string grund;                        // why vorschau/ was not replaced (German, UTF-8)
};

// Writes style.css, feed.xml, and inhalt1.html ... and artikel1.html ... for the index and article
// pages among dateien (a generator run's files) from the fragments in ausgabe, and puts them in the
// place of ziel's content in one step, as the generator does with output/; nothing else stays in
// ziel, so no page links to a stale one. A link at ziel is refused: the preview keeps its previous
// pages. The pictures are shown from ausgabe/bilder/.
VorschauErgebnis VorschauSchreiben(const std::filesystem::path& ausgabe,
                                   const std::vector<std::string>& dateien,
                                   const std::filesystem::path& ziel);

} // namespace velmaro
