#pragma once
// Pictures made fit for a web page: turned upright, scaled down, stripped of everything but the
// pixels. Qt's image readers and writers do the work; the interface is Qt-free.

#include <filesystem>
#include <string>

namespace velmaro {

// Wider pictures are scaled down to this width; narrower ones are never scaled up.
inline constexpr int kBildBreiteMax = 800;
inline constexpr int kJpegQualitaet = 85;

// Writes the picture quelle to ziel in its own format: turned by its EXIF orientation, at most
// kBildBreiteMax pixels wide, without metadata (EXIF, GPS, comments, text chunks), JPEG at quality
// kJpegQualitaet. A GIF is copied unchanged (an animation would lose its frames). False with
// fehler (German, UTF-8) when quelle is no readable picture or ziel cannot be written; ziel is
// then left as it was.
bool BildUmwandeln(const std::filesystem::path& quelle, const std::filesystem::path& ziel,
                   std::string& fehler);

} // namespace velmaro
