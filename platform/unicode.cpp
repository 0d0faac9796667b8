#include "platform/unicode.h"

#include "platform/cp1252.h"

#include <QList>

namespace velmaro {

QString zuUnicode(const std::string& cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (unsigned char c : cp1252)
        out += QChar(static_cast<char16_t>(cp1252::toUnicode(c)));
    return out;
}

namespace {
template <typename Ersatz> std::string kodieren(const QString& text, Ersatz ersatz) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t cp : text.toUcs4()) {
        int b = cp1252::fromUnicode(cp);
        if (b >= 0)
            out += static_cast<char>(b);
        else
            out += ersatz(cp);
    }
    return out;
}
} // namespace

std::string zuCp1252(const QString& text) {
    return kodieren(text, [](char32_t) { return std::string("?"); });
}

bool passtInCp1252(const QString& text) {
    for (char32_t cp : text.toUcs4())
        if (cp1252::fromUnicode(cp) < 0)
            return false;
    return true;
}

std::string zuCp1252Html(const QString& text) {
    return kodieren(text, [](char32_t cp) { return "&#" + std::to_string(cp) + ";"; });
}

QString zuUnicodeHtml(const std::string& s) {
    QString out;
    out.reserve(static_cast<qsizetype>(s.size()));
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '&' && i + 2 < s.size() && s[i + 1] == '#' && s[i + 2] >= '1' && s[i + 2] <= '9') {
            std::size_t j = i + 2;
            char32_t cp = 0;
            while (j < s.size() && j < i + 10 && s[j] >= '0' && s[j] <= '9')
                cp = cp * 10 + static_cast<char32_t>(s[j++] - '0');
            bool gueltig = cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
            if (j < s.size() && s[j] == ';' && gueltig && cp1252::fromUnicode(cp) < 0) {
                out += QString::fromUcs4(&cp, 1);
                i = j + 1;
                continue;
            }
        }
        out += QChar(static_cast<char16_t>(cp1252::toUnicode(static_cast<unsigned char>(s[i]))));
        ++i;
    }
    return out;
}

} // namespace velmaro
