#pragma once
// The site generator: the stylesheet and the news pages as bytes, and the run of "Update Website"
// that writes them into output/. Shared by the window and the batch mode.

#include "store/artikel.h"
#include "store/einstellungen.h"

#include <algorithm>
#include <cctype>
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

// The news feed: an Atom document of the newest kFeedArtikel articles in list order, each linking to
// its article page as the pages number them. titel (Windows-1252) names the feed and its author;
// adresse is the site's address ending in "/" (WebsiteAdresse), or empty when none is known: the
// links then stay relative to the feed's own place in data/.
inline constexpr const char* kFeedName = "feed.xml";
// The pages of a site in the order the upload sends them: style.css, inhalt0.php to
// inhalt<seiten>.php, artikel1.php to artikel<artikel>.php, feed.xml.
std::vector<std::string> SeitenDateien(int seiten, int artikel);
inline constexpr std::size_t kFeedArtikel = 20;
std::string FeedText(const Artikelliste& liste, const std::string& titel, const std::string& adresse);
// An article body with every relative src and href value made absolute against basis, the address
// of the folder the article pages lie in ("…/data/"); root-relative ones against basis's server.
std::string LinksAbsolut(std::string_view html, std::string_view basis);

// HTML names in any case: a against the lower-case b.
inline bool GleichOhneGross(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

// The byte builders append to out, so that one buffer can serve a whole run.
void VorschauZeileAnhaengen(std::string& out, const Artikel& a, std::string_view artikelName);
void ArtikelSeiteAnhaengen(std::string& out, const Artikel& a);
// The page menu linking index pages 1 to anzahlSeiten; empty for fewer than two pages.
std::string MenuText(int anzahlSeiten);

// What a generator run wrote.
struct GeneratorErgebnis {
    std::int32_t anzahlSeiten = 0;
    std::int32_t anzahlArtikel = 0;
    // The pictures of the run ("bilder/NAME", in name order); the upload sends them after the pages.
    std::vector<std::string> bilder;
    // Every file of the run, in the order the upload sends them and the progress counts them: the
    // pages (SeitenDateien), then the pictures.
    std::vector<std::string> dateien;
    // Every file of the run when output/ could not be replaced by it (output/ then holds the
    // previous site whole), or the pictures that could not be made; empty after a complete run.
    std::vector<std::string> fehlendeDateien;
    // Why, with the file concerned (German, UTF-8).
    std::string grund;
};

// Writes style.css, inhalt1.php ... with the article pages, inhalt0.php, the feed (named and
// addressed by the FTP settings) and the pictures the bodies use (bilder/NAME, from data/bilder/
// beside ordner, converted once into bildcache/ there) as "Update Website" does, and puts them in the
// place of ordner's content in one step, creating the folder when missing; a link at ordner keeps
// pointing at the folder it names. Afterwards ordner holds exactly this run's files, or, after any
// failure (a picture missing or unreadable among them), exactly the previous ones. Returns the
// counts of the pages and articles. ersteSeite is called once inhalt1.php has been created.
GeneratorErgebnis WebsiteErzeugen(Artikelliste& liste, const std::string& artikelProSeite,
                                  const StyleWerte& style, const FtpZugangsdaten& ftp,
                                  const std::filesystem::path& ordner,
                                  const std::function<void()>& ersteSeite = {});

} // namespace velmaro
