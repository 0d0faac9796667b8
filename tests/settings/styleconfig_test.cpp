// styleconfig.bit: twenty records in a fixed order, on real files.
#include "app/zustand.h"
#include "store/archive.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

struct StyleConfig : ::testing::Test {
    TempDir dir;

    VelmaroZustand zustand() {
        VelmaroZustand z;
        z.m_ordner = dir.path();
        return z;
    }
    std::string speichern(VelmaroZustand& z) {
        BinaryFile f;
        EXPECT_TRUE(f.createOrTruncate(dir / "styleconfig.bit"));
        EXPECT_TRUE(z.StyleConfigSpeichern(f));
        f.close();
        return readFile(dir / "styleconfig.bit");
    }
    void laden(VelmaroZustand& z, const std::string& bytes) {
        writeFile(dir / "styleconfig.bit", bytes);
        BinaryFile f;
        ASSERT_TRUE(f.openRead(dir / "styleconfig.bit"));
        z.StyleConfigLaden(f);
    }
};

std::string text(const std::string& s) {
    return std::string(1, static_cast<char>(s.size())) + s;
}
std::string int32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

TEST_F(StyleConfig, EmptyFormIsThirtyTwoBytes) {
    VelmaroZustand z = zustand();
    EXPECT_EQ(speichern(z), std::string(32, '\0'));
}

TEST_F(StyleConfig, RecordsInTheirOrder) {
    VelmaroZustand z = zustand();
    for (int i = 4; i < 20; ++i)
        z.m_einstellungen[i] = "v" + std::to_string(i);
    z.m_datumBold = 1;
    z.m_datumUnderline = 0;
    z.m_overBold = 0;
    z.m_overUnderline = 1;
    const std::string erwartet = text("v4") + text("v5") + text("v6") + text("v7") + text("v8") + int32(1) +
                                 int32(0) + text("v9") + text("v10") + text("v11") + text("v12") +
                                 text("v13") + int32(0) + int32(1) + text("v14") + text("v15") + text("v16") +
                                 text("v17") + text("v18") + text("v19");
    EXPECT_EQ(speichern(z), erwartet);
}

TEST_F(StyleConfig, RoundTripKeepsEveryValue) {
    VelmaroZustand z = zustand();
    for (int i = 4; i < 20; ++i)
        z.m_einstellungen[i] =
            "#" + std::string(static_cast<std::size_t>(i * 20), static_cast<char>('A' + i));
    z.m_einstellungen[8] = "Gr\xF6\xDF"
                           "e; } \x80\xFF";
    z.m_einstellungen[17] = "";
    z.m_datumBold = 1;
    z.m_overUnderline = 1;
    // The FTP values are not part of this file.
    z.m_einstellungen[2] = "ich";
    const std::string bytes = speichern(z);

    VelmaroZustand neu = zustand();
    laden(neu, bytes);
    for (int i = 4; i < 20; ++i)
        EXPECT_EQ(neu.m_einstellungen[i], z.m_einstellungen[i]) << i;
    EXPECT_EQ(neu.m_einstellungen[2], "");
    EXPECT_EQ(neu.m_datumBold, 1);
    EXPECT_EQ(neu.m_datumUnderline, 0);
    EXPECT_EQ(neu.m_overBold, 0);
    EXPECT_EQ(neu.m_overUnderline, 1);
    EXPECT_EQ(speichern(neu), bytes);
}

TEST_F(StyleConfig, ShortFileKeepsWhatWasRead) {
    VelmaroZustand z = zustand();
    const std::string kurz =
        text("#EEEEEE") + text("80") + text("#000000") + text("11") + text("Arial") + int32(1);
    // The read stops at the missing flag with the archive's end-of-file error.
    EXPECT_THROW(laden(z, kurz), ArchiveError);
    EXPECT_EQ(z.m_einstellungen[4], "#EEEEEE");
    EXPECT_EQ(z.m_einstellungen[8], "Arial");
    EXPECT_EQ(z.m_datumBold, 1);
    EXPECT_EQ(z.m_einstellungen[9], "");

    writeFile(dir / "data/styleconfig.bit", kurz);
    VelmaroZustand start = zustand();
    EXPECT_EQ(start.StyleDateiLesen(), Ladezustand::Beschaedigt);
    EXPECT_EQ(start.m_einstellungen[8], "Arial");
}

} // namespace
