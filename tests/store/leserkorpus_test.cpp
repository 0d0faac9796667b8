// The readers' fuzz corpus on every test run: each seed, and each crash input saved beside them,
// goes through the same checks as the fuzzers, so what once broke a reader stays fixed.
#include "../fuzz/leser.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmaro::test;

namespace {

using Pruefung = std::string (*)(const std::uint8_t*, std::size_t);

class LeserKorpus : public ::testing::TestWithParam<std::pair<const char*, Pruefung>> {};

TEST_P(LeserKorpus, JedeDateiBestehtDiePruefungen) {
    const auto [ziel, pruefung] = GetParam();
    bool leer = false;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(VELMARO_SOURCE_DIR) /
                                                             "tests/fuzz/korpus" / ziel)) {
        const std::string bytes = readFile(e.path());
        leer = leer || bytes.empty();
        EXPECT_EQ(pruefung(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "")
            << e.path();
    }
    // An empty file is the first thing a user hands in; without it the folder was not found.
    EXPECT_TRUE(leer);
}

INSTANTIATE_TEST_SUITE_P(DreiLeser, LeserKorpus,
                         ::testing::Values(std::pair{"daten_fuzz", &DatenPruefen},
                                           std::pair{"styleconfig_fuzz", &StyleConfigPruefen},
                                           std::pair{"ftpconfig_fuzz", &FtpConfigPruefen}),
                         [](const auto& p) {
                             return std::string(p.param.first, std::strchr(p.param.first, '_'));
                         });

} // namespace
