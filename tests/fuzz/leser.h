#pragma once
// The checks behind the readers' fuzzers, shared with the corpus replay in core_tests: each feeds
// any bytes to one reader of a file the user can edit or receive, and returns an empty string when
// all went well, otherwise which promise was broken.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmaro::test {

// data/daten.bit through VelmaroZustand::DatenLaden.
std::string DatenPruefen(const std::uint8_t* data, std::size_t size);
// data/styleconfig.bit through VelmaroZustand::StyleConfigLaden.
std::string StyleConfigPruefen(const std::uint8_t* data, std::size_t size);
// data/ftpconfig.bit through VelmaroZustand::FtpConfigLesen.
std::string FtpConfigPruefen(const std::uint8_t* data, std::size_t size);

// For the fuzzers: prints the broken promise and aborts, so libFuzzer keeps the input.
void AbbrechenBei(const std::string& fehler, const char* ziel);

} // namespace velmaro::test
