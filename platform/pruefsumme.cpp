#include "platform/pruefsumme.h"

#include "platform/file.h"

#include <openssl/evp.h>

namespace velmaro {

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int laenge = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &laenge, EVP_sha256(), nullptr);
    static const char ziffern[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * laenge);
    for (unsigned int i = 0; i < laenge; ++i) {
        hex += ziffern[digest[i] >> 4];
        hex += ziffern[digest[i] & 0xF];
    }
    return hex;
}

std::optional<DateiPruefsumme> dateiPruefsumme(const std::filesystem::path& datei) {
    std::string bytes;
    if (!readWholeFile(datei, bytes))
        return std::nullopt;
    return DateiPruefsumme{sha256Hex(bytes), bytes.size()};
}

} // namespace velmaro
