#include "site/generator.h"

#include <gtest/gtest.h>

using namespace velmaro;

namespace {

const std::string kLeer =
    ".newstable{border-Bottom-Width:0;border-Top-Width:0px;border-Left-Width:0px;border-Right-Width:0px;width:"
    ";background-color:;}.over{width:; padding:2px; background-color:;}.over_text{color:;font-size:; font-family:;"
    "}.text{padding:2px;background-color:;}.datum{background-color:; width:; white-space:nowrap; padding:2px;}"
    ".datum_text{font-size:;font-family:; color:}.text_text{color:; font-family:;font-size:;}";

// Inserts text into the empty stylesheet before the first occurrence of anchor.
std::string leerMit(const std::string& anchor, const std::string& text) {
    std::string css = kLeer;
    const auto pos = css.find(anchor);
    EXPECT_NE(pos, std::string::npos);
    css.insert(pos, text);
    return css;
}

TEST(Stylesheet, WorkedExampleOfFiveHundredThirtyBytes) {
    VelmaroZustand z;
    auto& e = z.m_einstellungen;
    e[19] = "500";
    e[18] = "#FFFFFF";
    e[10] = "400";
    e[9] = "#CCCCCC";
    e[11] = "#000080";
    e[12] = "14";
    e[13] = "Verdana";
    z.m_overBold = 1;
    z.m_overUnderline = 0;
    e[14] = "#FFFFFF";
    e[4] = "#EEEEEE";
    e[5] = "80";
    e[7] = "11";
    z.m_datumUnderline = 1;
    e[8] = "Arial";
    z.m_datumBold = 0;
    e[6] = "#000000";
    e[15] = "#000000";
    e[17] = "Arial";
    e[16] = "12";
    const std::string erwartet =
        ".newstable{border-Bottom-Width:0;border-Top-Width:0px;border-Left-Width:0px;border-Right-Width:0px;"
        "width:500;background-color:#FFFFFF;}.over{width:400; padding:2px; background-color:#CCCCCC;}"
        ".over_text{color:#000080;font-size:14; font-family:Verdana;font-weight:bold;}.text{padding:2px;"
        "background-color:#FFFFFF;}.datum{background-color:#EEEEEE; width:80; white-space:nowrap; padding:2px;}"
        ".datum_text{font-size:11;text-decoration:underline;font-family:Arial; color:#000000}.text_text{"
        "color:#000000; font-family:Arial;font-size:12;}";
    ASSERT_EQ(erwartet.size(), 530u);
    EXPECT_EQ(StylesheetText(z), erwartet);
}

TEST(Stylesheet, EmptyValuesGiveTheLiteralsAlone) {
    ASSERT_EQ(kLeer.size(), 407u);
    EXPECT_EQ(StylesheetText(VelmaroZustand{}), kLeer);
}

TEST(Stylesheet, EachFlagAddsItsFragmentInOnePlace) {
    const std::string fett = "font-weight:bold;";
    const std::string unter = "text-decoration:underline;";
    {
        VelmaroZustand z;
        z.m_overBold = 1;
        EXPECT_EQ(StylesheetText(z), leerMit("}.text{", fett));
    }
    {
        VelmaroZustand z;
        z.m_overUnderline = 1;
        EXPECT_EQ(StylesheetText(z), leerMit("}.text{", unter));
    }
    {
        VelmaroZustand z;
        z.m_datumUnderline = 1;
        EXPECT_EQ(StylesheetText(z), leerMit("font-family:; color:", unter));
    }
    {
        VelmaroZustand z;
        z.m_datumBold = 1;
        EXPECT_EQ(StylesheetText(z), leerMit("color:}.text_text", fett));
    }
}

TEST(Stylesheet, BothHeadlineFlagsEndOverTextInOrder) {
    VelmaroZustand z;
    z.m_einstellungen[13] = "Verdana";
    z.m_overBold = 1;
    z.m_overUnderline = 1;
    EXPECT_NE(
        StylesheetText(z).find("font-family:Verdana;font-weight:bold;text-decoration:underline;}.text{"),
        std::string::npos);
}

TEST(Stylesheet, AnyNonZeroFlagCountsAsOn) {
    VelmaroZustand z;
    z.m_datumBold = -7;
    z.m_overUnderline = 2;
    EXPECT_EQ(StylesheetText(z), leerMit("color:}.text_text", "font-weight:bold;")
                                     .insert(kLeer.find("}.text{"), "text-decoration:underline;"));
}

TEST(Stylesheet, ValuesGoInUnchangedAtTheirPlaces) {
    VelmaroZustand z;
    for (int i = 4; i < 20; ++i)
        z.m_einstellungen[i] = "<" + std::to_string(i) + ">";
    // Read from the file, a value can hold what ends a rule; it goes in as it is.
    z.m_einstellungen[19] = "500;}x{\xE4";
    const std::string css = StylesheetText(z);
    EXPECT_EQ(css.size(), 407u + 6 * 3 + 9 * 4 + 8);

    std::vector<int> reihenfolge;
    for (std::size_t pos = css.find('<'); pos != std::string::npos; pos = css.find('<', pos + 1))
        reihenfolge.push_back(std::stoi(css.substr(pos + 1)));
    EXPECT_EQ(reihenfolge, (std::vector<int>{18, 10, 9, 11, 12, 13, 14, 4, 5, 7, 8, 6, 15, 17, 16}));
    EXPECT_NE(css.find("width:500;}x{\xE4;background-color:<18>"), std::string::npos);
    EXPECT_NE(css.find("datum{background-color:<4>; width:<5>;"), std::string::npos);
    EXPECT_NE(css.find("datum_text{font-size:<7>;font-family:<8>; color:<6>}"), std::string::npos);
}

} // namespace
