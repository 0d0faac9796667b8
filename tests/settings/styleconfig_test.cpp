// styleconfig.bit: sixteen texts and four flags in the original program's record order.
#include "store/archive.h"
#include "store/zustand.h"

#include "../support/memdevice.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

const auto text = [](const std::string& s) { return static_cast<char>(s.size()) + s; };
const std::string kAn("\1\0\0\0", 4), kAus(4, '\0');

// Read back and saved again, every value and flag is the same; the pictures' margins follow as two
// more texts, only when one is set.
TEST(StyleConfig, RoundTripInRecordOrder) {
    VelmaroZustand z, neu;
    for (int i = 4; i < 20; ++i)
        Einstellung(z, i) = "v" + std::to_string(i) + "; }\x80\xFF";
    z.m_style.datumBold = z.m_style.overUnderline = 1;
    const auto t = [&](int i) { return text(Einstellung(z, i)); };
    const std::string f = z.DateiInhalt(Datendatei::StyleConfig);
    EXPECT_EQ(f, t(4) + t(5) + t(6) + t(7) + t(8) + kAn + kAus + t(9) + t(10) + t(11) + t(12) + t(13) + kAus +
                     kAn + t(14) + t(15) + t(16) + t(17) + t(18) + t(19));
    for (const std::string vertikal : {"", "8"}) {
        z.m_style.bildVertikal = vertikal;
        const std::string bytes = z.DateiInhalt(Datendatei::StyleConfig);
        EXPECT_EQ(bytes, f + (vertikal.empty() ? "" : text("") + text("8")));
        MemDevice lesen(bytes);
        ASSERT_TRUE(neu.StyleConfigLaden(lesen));
        EXPECT_EQ(neu.m_style, z.m_style);
    }
}

TEST(StyleConfig, ShortFileKeepsWhatWasRead) {
    VelmaroZustand z;
    MemDevice kurz(text("#EEEEEE") + text("80") + text("#000000") + text("11") + text("Arial") + kAn);
    // The read stops at the missing flag with the archive's end-of-file error.
    EXPECT_THROW(z.StyleConfigLaden(kurz), ArchiveError);
    EXPECT_EQ(z.m_style.datumSchrift + std::to_string(z.m_style.datumBold), "Arial1");
}

} // namespace
