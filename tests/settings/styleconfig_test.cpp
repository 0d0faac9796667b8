// styleconfig.bit: sixteen texts and four flags in the original program's record order.
#include "store/archive.h"
#include "store/zustand.h"

#include "../support/memdevice.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

std::string text(const std::string& s) {
    return static_cast<char>(s.size()) + s;
}
const std::string kAn("\1\0\0\0", 4), kAus(4, '\0');

TEST(StyleConfig, EmptyFormAndRoundTripInRecordOrder) {
    VelmaroZustand z;
    MemDevice leer;
    ASSERT_TRUE(z.StyleConfigSpeichern(leer));
    EXPECT_EQ(leer.data, std::string(32, '\0'));

    for (int i = 4; i < 20; ++i)
        Einstellung(z, i) = "v" + std::to_string(i) + "; }\x80\xFF";
    z.m_style.datumBold = 1;
    z.m_style.overUnderline = 1;
    MemDevice f;
    ASSERT_TRUE(z.StyleConfigSpeichern(f));
    const auto t = [&](int i) { return text(Einstellung(z, i)); };
    EXPECT_EQ(f.data, t(4) + t(5) + t(6) + t(7) + t(8) + kAn + kAus + t(9) + t(10) + t(11) + t(12) + t(13) +
                          kAus + kAn + t(14) + t(15) + t(16) + t(17) + t(18) + t(19));

    // Read back and saved again, every value and flag is the same.
    VelmaroZustand neu;
    MemDevice lesen(f.data), wieder;
    ASSERT_TRUE(neu.StyleConfigLaden(lesen));
    ASSERT_TRUE(neu.StyleConfigSpeichern(wieder));
    EXPECT_EQ(wieder.data, f.data);
    EXPECT_TRUE(neu.m_style.bildHorizontal.empty());

    // The pictures' margins follow as two more texts, only when one is set.
    z.m_style.bildVertikal = "8";
    MemDevice mitBild;
    ASSERT_TRUE(z.StyleConfigSpeichern(mitBild));
    EXPECT_EQ(mitBild.data, f.data + text("") + text("8"));
    MemDevice bildLesen(mitBild.data);
    ASSERT_TRUE(neu.StyleConfigLaden(bildLesen));
    EXPECT_EQ(neu.m_style, z.m_style);
}

TEST(StyleConfig, ShortFileKeepsWhatWasRead) {
    VelmaroZustand z;
    MemDevice kurz(text("#EEEEEE") + text("80") + text("#000000") + text("11") + text("Arial") + kAn);
    // The read stops at the missing flag with the archive's end-of-file error.
    EXPECT_THROW(z.StyleConfigLaden(kurz), ArchiveError);
    EXPECT_EQ(z.m_style.datumSchrift, "Arial");
    EXPECT_EQ(z.m_style.datumBold, 1);
}

} // namespace
