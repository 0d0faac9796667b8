#include "store/bildablage.h"

#include "platform/file.h"
#include "platform/pruefsumme.h"

#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {
// 64 bits of the digest: a collision among one site's pictures is out of reach.
constexpr std::size_t kNamensLaenge = 16;
// Camera pictures are a few MB; this keeps a wrong pick (a film) out of the folder.
constexpr std::uint64_t kBildMax = std::uint64_t{200} << 20;
} // namespace

std::string BildEndung(std::string_view k) {
    if (k.starts_with("\xFF\xD8\xFF"))
        return "jpg";
    if (k.starts_with("\x89PNG\r\n\x1A\n"))
        return "png";
    if (k.starts_with("GIF87a") || k.starts_with("GIF89a"))
        return "gif";
    if (k.size() >= 12 && k.starts_with("RIFF") && k.substr(8, 4) == "WEBP")
        return "webp";
    return {};
}

bool BildNameGueltig(std::string_view name) {
    if (name.empty() || name.front() == '.' || name.size() > 200)
        return false;
    for (const char c : name) {
        const bool erlaubt = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '-' || c == '_' || c == '.';
        if (!erlaubt)
            return false;
    }
    return true;
}

std::optional<std::string> BildAblegen(const fs::path& datei, const fs::path& ordner, std::string& fehler) {
    std::string bytes;
    int err = 0;
    if (!readWholeFile(datei, bytes, kBildMax, &err)) {
        fehler = err == EFBIG ? "größer als 200 MB" : leseGrund(err);
        return std::nullopt;
    }
    const std::string endung = BildEndung(bytes);
    if (endung.empty()) {
        fehler = "kein Bild im Format JPEG, PNG, GIF oder WebP";
        return std::nullopt;
    }
    const std::string name = sha256Hex(bytes).substr(0, kNamensLaenge) + "." + endung;
    const fs::path ziel = ordner / name;
    std::error_code ec;
    fs::create_directories(ordner, ec);
    std::string vorhanden;
    if (readWholeFile(ziel, vorhanden) && vorhanden == bytes)
        return name;
    if (!replaceFile(ziel, bytes, 0644, fehler))
        return std::nullopt;
    return name;
}

} // namespace velmaro
