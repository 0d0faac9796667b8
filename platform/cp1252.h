#pragma once
// Windows-1252, the code page of every text velmaro stores. All 256 bytes map to a code point and
// back, the five bytes Windows leaves undefined to the C1 controls of the same number, so that any
// stored byte survives a trip through Unicode.

#include <string>

namespace velmaro::cp1252 {

char32_t toUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1252 cannot hold it.
int fromUnicode(char32_t cp);
// UTF-16 text (the archive's wide form) as Windows-1252; what cannot be held becomes '?'.
std::string fromUtf16(const std::u16string& text);
// Windows-1252 bytes as UTF-8, for messages and the terminal.
std::string toUtf8(const std::string& text);

} // namespace velmaro::cp1252
