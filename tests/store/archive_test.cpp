#include "store/archive.h"

#include "../support/memdevice.h"

#include <gtest/gtest.h>

using namespace velmaro;
using velmaro::test::MemDevice;

namespace {

std::string encode(const std::string& text) {
    MemDevice dev;
    Archive ar(dev, Archive::Store);
    ar << text;
    ar.close();
    return dev.data;
}

std::string decodeText(const std::string& bytes) {
    MemDevice dev(bytes);
    Archive ar(dev, Archive::Load);
    std::string text;
    ar >> text;
    return text;
}

std::string hexPrefix(const std::string& bytes, std::size_t n) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < n && i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X ", static_cast<unsigned char>(bytes[i]));
        out += buf;
    }
    return out;
}

TEST(Archive, LengthPrefixesAtEveryBoundary) {
    struct Case {
        std::size_t n;
        const char* prefix;
    } cases[] = {{0, "00 "},
                 {254, "FE "},
                 {255, "FF FF 00 "},
                 {300, "FF 2C 01 "},
                 {65533, "FF FD FF "},
                 {65534, "FF FF FF FE FF 00 00 "},
                 {70000, "FF FF FF 70 11 01 00 "}};
    for (const auto& c : cases) {
        const std::string text(c.n, 'x');
        const std::string bytes = encode(text);
        const std::size_t prefixLen = std::string(c.prefix).size() / 3;
        EXPECT_EQ(hexPrefix(bytes, prefixLen), c.prefix) << "length " << c.n;
        EXPECT_EQ(bytes.size(), prefixLen + c.n) << "length " << c.n;
        EXPECT_EQ(decodeText(bytes), text) << "length " << c.n;
    }
}

TEST(Archive, DateIsStatusThenDouble) {
    MemDevice dev;
    Archive ar(dev, Archive::Store);
    ar << DateTime::fromParts(2003, 5, 1, 12, 0, 0);
    ar.close();
    EXPECT_EQ(dev.data, std::string("\0\0\0\0\0\0\0\0\xD0\x6D\xE2\x40", 12));

    MemDevice in(dev.data);
    Archive rd(in, Archive::Load);
    DateTime dt;
    rd >> dt;
    EXPECT_EQ(dt.status, 0);
    EXPECT_EQ(dt.value, 37742.5);
}

TEST(Archive, IntegersAreLittleEndian) {
    MemDevice dev;
    Archive ar(dev, Archive::Store);
    ar << std::int32_t{1} << std::int32_t{-2};
    ar.close();
    EXPECT_EQ(dev.data, std::string("\x01\0\0\0\xFE\xFF\xFF\xFF", 8));
    MemDevice in(dev.data);
    Archive rd(in, Archive::Load);
    std::int32_t a = 0, b = 0;
    rd >> a >> b;
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, -2);
}

TEST(Archive, WideTextsReadBackAsWindows1252) {
    // "Grüße €": tag FF FE FF, then 7 UTF-16LE units.
    const std::string shortForm = std::string("\xFF\xFE\xFF\x07", 4) + std::string("G\0r\0\xFC\0\xDF\0"
                                                                                   "e\0 \0\xAC\x20",
                                                                                   14);
    EXPECT_EQ(decodeText(shortForm), "Gr\xFC\xDF"
                                     "e \x80");

    // 300 wide characters need the 16-bit length after the tag; an emoji cannot be held.
    std::string longForm = std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6);
    for (int i = 0; i < 298; ++i)
        longForm += std::string("a\0", 2);
    longForm += std::string("\x3D\xD8\x00\xDE", 4);
    EXPECT_EQ(decodeText(longForm), std::string(298, 'a') + "?");
}

TEST(Archive, ZeroByteEndsTextButExtractionGoesOn) {
    MemDevice dev;
    {
        Archive ar(dev, Archive::Store);
        ar << std::string("ab\0cd", 5) << std::string("next");
        ar.close();
    }
    MemDevice in(dev.data);
    Archive rd(in, Archive::Load);
    std::string a, b;
    rd >> a >> b;
    EXPECT_EQ(a, "ab");
    EXPECT_EQ(b, "next");
}

TEST(Archive, TruncatedValuesRaiseEndOfFile) {
    MemDevice dev;
    {
        Archive ar(dev, Archive::Store);
        ar << std::string(300, 'z') << DateTime::fromParts(2003, 5, 1) << std::int32_t{7};
        ar.close();
    }
    const std::string full = dev.data;
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        MemDevice in(full.substr(0, cut));
        Archive rd(in, Archive::Load);
        std::string text;
        DateTime dt;
        std::int32_t n = 0;
        int read = 0;
        try {
            rd >> text;
            ++read;
            rd >> dt;
            ++read;
            rd >> n;
            ++read;
            FAIL() << "no error at cut " << cut;
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.kind(), ArchiveError::EndOfFile);
        }
        // Values before the cut were extracted whole.
        if (read >= 1) {
            EXPECT_EQ(text, std::string(300, 'z'));
        }
        EXPECT_EQ(read, cut < 303 ? 0 : cut < 315 ? 1 : 2) << "cut " << cut;
    }
}

TEST(Archive, HugeLengthDoesNotReserveBeyondTheFile) {
    // A 32-bit length of 4 GiB in a 20-byte file: an error, not a 4 GiB buffer.
    const std::string bytes = std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7) + "only a few bytes";
    MemDevice in(bytes);
    Archive rd(in, Archive::Load);
    std::string text;
    EXPECT_THROW(rd >> text, ArchiveError);
}

TEST(Archive, TrafficGoesThroughTheBuffer) {
    MemDevice dev;
    {
        Archive ar(dev, Archive::Store);
        for (int i = 0; i < 1000; ++i)
            ar << std::string("value") << std::int32_t{i};
        ar.close();
    }
    EXPECT_EQ(dev.data.size(), 1000u * 10);
    EXPECT_EQ(dev.writes, 3); // two full 4096-byte blocks and the rest
    MemDevice in(dev.data);
    Archive rd(in, Archive::Load);
    std::string s;
    std::int32_t n = 0;
    for (int i = 0; i < 1000; ++i)
        rd >> s >> n;
    EXPECT_EQ(n, 999);
    EXPECT_LE(in.reads, 4);
}

TEST(Archive, WriteFailureIsRaised) {
    MemDevice dev;
    dev.failAfter = 5000;
    Archive ar(dev, Archive::Store);
    EXPECT_THROW(
        {
            for (int i = 0; i < 1000; ++i)
                ar << std::string("0123456789");
            ar.close();
        },
        FileError);
    EXPECT_EQ(dev.data.size(), 4096u);
}

} // namespace
