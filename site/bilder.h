#pragma once
// The pictures of the generated pages: which pictures the bodies use, their src as the site's
// pages need it, their conversion into output/bilder/, and the index preview's cut that never
// leaves a tag half written.

#include <cstddef>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmaro {

// The src a body gives a picture, and the one every fragment gives it: the site's pages resolve
// the fragments' links from the site's root, the article pages too.
inline constexpr std::string_view kBildSrc = "bilder/";
inline constexpr std::string_view kBildSrcSeite = "data/bilder/";

// The src value of one <img> tag that starts with a prefix: where the value starts in the html,
// and what follows the prefix.
struct BildVerweis {
    std::size_t wert = 0;
    std::string name;
};
std::vector<BildVerweis> BildVerweise(std::string_view html, std::string_view praefix = kBildSrc);

// Appends html with the prefix alt of every such src replaced by neu; every other byte unchanged.
void BildQuellenAnhaengen(std::string& out, std::string_view html, std::string_view alt = kBildSrc,
                          std::string_view neu = kBildSrcSeite);

// The body's preview on an index page: its first len bytes, or all of it when it is no longer.
// A cut inside a tag, a comment or an entity moves back before it, and the tags opened before the
// cut and not closed are closed after it, so that what follows the preview stays outside them.
std::string VorschauText(std::string_view body, std::size_t len);

// A picture that could not be written, and why (German, UTF-8).
using BildFehler = std::pair<std::string, std::string>;

// Writes each picture of namen from quelle into ziel as BildUmwandeln makes it, and removes from
// ziel every file not in namen. A picture is converted once: conversions are kept in cache and
// reused, as is a picture ziel holds already, while they are newer than the source. Returns the
// pictures that are missing, unreadable or could not be written, in name order.
std::vector<BildFehler> BilderErzeugen(const std::filesystem::path& quelle, const std::filesystem::path& ziel,
                                       const std::set<std::string>& namen,
                                       const std::filesystem::path& cache);

} // namespace velmaro
