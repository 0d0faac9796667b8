#pragma once
// SHA-256 of a file's bytes, to tell whether a page changed since it was last sent.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

// 64 lowercase hex digits.
std::string sha256Hex(std::string_view bytes);
// The file's digest and size; nothing when it cannot be read.
struct DateiPruefsumme {
    std::string sha256;
    std::uint64_t groesse = 0;
};
std::optional<DateiPruefsumme> dateiPruefsumme(const std::filesystem::path& datei);

} // namespace velmaro
