#pragma once

#include <string>

namespace velmaro::test {

// The smallest real article file: per page "5", one article "Test" / "Hallo Welt" of 1 May 2003,
// 12:00 (43 bytes).
inline const std::string kBeispielDaten = std::string("\x01"
                                                      "5\x07"
                                                      "ARTIKEL\x04"
                                                      "Test\x0A"
                                                      "Hallo Welt",
                                                      26) +
                                          std::string("\0\0\0\0\0\0\0\0\xD0\x6D\xE2\x40\x04"
                                                      "ENDE",
                                                      17);

} // namespace velmaro::test
