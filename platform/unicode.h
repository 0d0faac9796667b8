#pragma once
// The boundary between the windows (Unicode) and everything stored (Windows-1252).

#include <QString>

#include <string>

namespace velmaro {

QString zuUnicode(const std::string& cp1252);
// Characters Windows-1252 cannot hold become '?'; see passtInCp1252.
std::string zuCp1252(const QString& text);
bool passtInCp1252(const QString& text);

// For article texts, which are HTML: a character outside Windows-1252 is stored as a numeric
// character reference ("&#128512;"), so the web page still shows it.
std::string zuCp1252Html(const QString& text);
// Shows such references as their characters again; only those zuCp1252Html writes (decimal, no
// leading zero, a character outside Windows-1252), so the bytes survive a round trip.
QString zuUnicodeHtml(const std::string& cp1252);

} // namespace velmaro
