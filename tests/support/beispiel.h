#pragma once

#include <string>

namespace velmaro::test {

// The smallest real article file: per page "5", one article "Test" / "Hallo Welt" of 1 May 2003,
// 12:00 (43 bytes).
inline const std::string
    kBeispielDaten("\0015\7ARTIKEL\4Test\nHallo Welt\0\0\0\0\0\0\0\0\xD0\x6D\xE2\x40\4ENDE", 43);

} // namespace velmaro::test
