#include "store/archive.h"

#include "../support/memdevice.h"

#include <gtest/gtest.h>

using namespace velmaro;
using velmaro::test::MemDevice;

namespace {

template <typename... T> std::string store(const T&... values) {
    MemDevice dev;
    Archive ar(dev, Archive::Store);
    (ar << ... << values);
    ar.close();
    return dev.data;
}

template <typename... T> void load(const std::string& bytes, T&... values) {
    MemDevice dev(bytes);
    Archive ar(dev, Archive::Load);
    (ar >> ... >> values);
}

const auto loadText = [](const std::string& bytes) {
    std::string t;
    load(bytes, t);
    return t;
};

TEST(Archive, LengthPrefixesDatesIntegersWideTextsAndZeroBytes) {
    const std::pair<std::size_t, std::string> cases[] = {{254, "\xFE"},
                                                         {255, std::string("\xFF\xFF\0", 3)},
                                                         {65533, "\xFF\xFD\xFF"},
                                                         {65534, std::string("\xFF\xFF\xFF\xFE\xFF\0\0", 7)}};
    for (const auto& [n, prefix] : cases) {
        const std::string text(n, 'x');
        EXPECT_EQ(store(text), prefix + text) << n;
        EXPECT_EQ(loadText(prefix + text), text) << n;
    }
    EXPECT_EQ(store(DateTime::fromParts(2003, 5, 1, 12), std::int32_t{-2}),
              std::string("\0\0\0\0\0\0\0\0\xD0\x6D\xE2\x40\xFE\xFF\xFF\xFF", 16));

    // The wide form: tag FF FE FF, then UTF-16LE units; 300 of them take the 16-bit length. "Grüß €"
    // comes back in Windows-1252, an emoji, which has none, as "?".
    std::string lang = std::string("\xFF\xFE\xFF\xFF\x2C\x01G\0r\0\xFC\0\xDF\0 \0\xAC\x20", 18);
    for (int i = 0; i < 292; ++i)
        lang += std::string("a\0", 2);
    EXPECT_EQ(loadText(lang + std::string("\x3D\xD8\0\xDE", 4)),
              "Gr\xFC\xDF \x80" + std::string(292, 'a') + "?");

    // A zero byte ends the text, and extraction goes on after the full stored length.
    std::string a, b;
    load(store(std::string("ab\0cd", 5), std::string("next")), a, b);
    EXPECT_EQ(a + "|" + b, "ab|next");
}

// Read whole, every value comes back (the date's status too); cut anywhere, the end-of-file error
// comes after the whole values before the cut.
TEST(Archive, EveryCutRaisesEndOfFileAfterTheWholeValues) {
    const std::string z(300, 'z');
    const DateTime datum{2, -1.25};
    const std::string full = store(z, datum, std::int32_t{7});
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        std::string text;
        DateTime dt;
        std::int32_t n = 0;
        try {
            load(full.substr(0, cut), text, dt, n);
            EXPECT_EQ(cut, full.size());
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.kind(), ArchiveError::EndOfFile) << cut;
        }
        EXPECT_EQ(std::tuple(text, dt, n),
                  std::tuple(cut < 303 ? "" : z, cut < 315 ? DateTime{} : datum, cut < full.size() ? 0 : 7))
            << cut;
    }
}

TEST(Archive, AWriteErrorEndsTheSave) {
    MemDevice voll;
    voll.failAfter = 5000;
    Archive ar(voll, Archive::Store);
    EXPECT_THROW(for (int i = 0; i < 1000; ++i) ar << std::string("0123456789"), FileError);
}

} // namespace
