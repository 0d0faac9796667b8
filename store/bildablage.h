#pragma once
// The pictures of the articles: files in data/bilder/, named from their content, to which a body
// refers with <img src="bilder/NAME" alt="...">.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

// The folder below data/ and, with "/", the start of every picture's src in a body.
inline constexpr std::string_view kBilderOrdner = "bilder";

// "jpg", "png", "gif" or "webp" by the first bytes of a file; empty for anything else.
std::string BildEndung(std::string_view kopf);

// A name a body may use: letters, digits, '-', '_' and '.', not starting with '.', so that it
// always names a file inside the folder.
bool BildNameGueltig(std::string_view name);

// Copies the picture datei into ordner (created when missing) under a name made from its bytes,
// so the same picture twice is one file. The name, or nothing with fehler (German, UTF-8).
std::optional<std::string> BildAblegen(const std::filesystem::path& datei,
                                       const std::filesystem::path& ordner, std::string& fehler);

} // namespace velmaro
