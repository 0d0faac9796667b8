#pragma once
// The site generator: the stylesheet and the news pages as bytes, and the run of "Update Website"
// that writes them into output/. Shared by the window and the batch mode.

#include "app/zustand.h"
#include "store/artikel.h"

#include <functional>
#include <string>
#include <string_view>

namespace velmaro {

// The publisher's web address, opened by the publisher button and named in every article page's
// footer.
inline constexpr const char* kVerlagsAdresse = "http://www.dorvent.de";

// Rows shown per article on an index page: this many bytes of the body, cut blindly.
inline constexpr std::size_t kVorschauLaenge = 200;

inline constexpr std::string_view kIndexAnfang = "<table class=newstable>";
inline constexpr std::string_view kIndexEnde = "</table>";

// The stylesheet text built from m_einstellungen[4..19] and the four style flags.
std::string StylesheetText(const VelmaroZustand& z);

// "inhalt<k>.php" and "artikel<n>.php", without folder.
std::string SeitenName(int k);
std::string ArtikelName(int n);

// The byte builders append to out, so that one buffer can serve a whole run.
void VorschauZeileAnhaengen(std::string& out, const Artikel& a, std::string_view artikelName);
void ArtikelSeiteAnhaengen(std::string& out, const Artikel& a);
// The page menu linking index pages 1 to anzahlSeiten; empty for fewer than two pages.
std::string MenuText(int anzahlSeiten);

// Writes style.css, inhalt1.php ... with the article pages, and inhalt0.php into z.ausgabeOrdner()
// as "Update Website" does, creating the folder when missing. Sets z.m_anzahlSeiten and
// z.m_anzahlArtikel to what was written, and z.m_fehlendeDateien to the names (inside output/) of
// the files that could not be written. An index page after the first that cannot be created ends
// the pages there: the counters then cover only the pages and articles before it.
// ersteSeite is called once inhalt1.php has been created.
void WebsiteErzeugen(VelmaroZustand& z, const std::function<void()>& ersteSeite = {});

} // namespace velmaro
