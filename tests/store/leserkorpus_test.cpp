// The readers' fuzz corpus on every test run: each seed, and each crash input saved beside them,
// goes through the same checks as the fuzzers, so what once broke a reader stays fixed.
#include "../fuzz/leser.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro::test;

TEST(LeserKorpus, JedeDateiBestehtDiePruefungen) {
    for (const auto& [ziel, pruefung] : {std::pair{"daten_fuzz", &DatenPruefen},
                                         {"styleconfig_fuzz", &StyleConfigPruefen},
                                         {"ftpconfig_fuzz", &FtpConfigPruefen}}) {
        for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(VELMARO_SOURCE_DIR) /
                                                                 "tests/fuzz/korpus" / ziel)) {
            const std::string bytes = readFile(e.path());
            EXPECT_EQ(pruefung(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "")
                << e.path();
        }
    }
}
