#pragma once
// The site generator: the stylesheet and the news pages as bytes, and the run of "Update Website"
// that writes them into output/. Shared by the window and the batch mode.

#include "store/artikel.h"
#include "store/einstellungen.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The publisher's web address, opened by the publisher button and named in every article page's
// footer.
inline constexpr const char* kVerlagsAdresse = "http://www.dorvent.de";

// Rows shown per article on an index page: this many bytes of the body, cut back before a tag,
// comment or entity that the cut would split.
inline constexpr std::size_t kVorschauLaenge = 200;

inline constexpr std::string_view kIndexAnfang = "<table class=newstable>";
inline constexpr std::string_view kIndexEnde = "</table>";

// The stylesheet text built from the style values.
std::string StylesheetText(const StyleWerte& s);

// The names of the generated files, without folder: the stylesheet, "inhalt<k>.php" and
// "artikel<n>.php".
inline constexpr const char* kStylesheetName = "style.css";
// The folder of the converted pictures, below the output folder and the working folder's data/.
inline constexpr const char* kBildCache = "bildcache";
std::string SeitenName(int k);
std::string ArtikelName(int n);

// The byte builders append to out, so that one buffer can serve a whole run.
void VorschauZeileAnhaengen(std::string& out, const Artikel& a, std::string_view artikelName);
void ArtikelSeiteAnhaengen(std::string& out, const Artikel& a);
// The page menu linking index pages 1 to anzahlSeiten; empty for fewer than two pages.
std::string MenuText(int anzahlSeiten);

// What a generator run wrote.
struct GeneratorErgebnis {
    std::int32_t anzahlSeiten = 0;
    std::int32_t anzahlArtikel = 0;
    // The pictures written ("bilder/NAME", in name order); the upload sends them after the pages.
    std::vector<std::string> bilder;
    // Files the run could not write (output/ names); empty after a complete run.
    std::vector<std::string> fehlendeDateien;
    // Why the first of them could not be written (German, UTF-8).
    std::string grund;
};

// Writes style.css, inhalt1.php ... with the article pages, and inhalt0.php into ordner as "Update
// Website" does, creating the folder when missing, and the pictures the bodies use into
// ordner/bilder/ (from data/bilder/ beside ordner, through the cache bildcache/ there); a picture
// that is missing or unreadable counts as a file not written ("bilder/NAME"). Returns the counts of what was
// written and the names (inside output/) of the files that could not be written. An index page after the
// first that cannot be created ends the pages there: the counters then cover only the pages and articles
// before it. ersteSeite is called once inhalt1.php has been created.
GeneratorErgebnis WebsiteErzeugen(Artikelliste& liste, const std::string& artikelProSeite,
                                  const StyleWerte& style, const std::filesystem::path& ordner,
                                  const std::function<void()>& ersteSeite = {});

} // namespace velmaro
