// The readers' fuzz corpus on every test run: each seed, and each crash input saved beside them,
// goes through the same checks as the fuzzers, so what once broke a reader stays fixed.
#include "../fuzz/leser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

using namespace velmaro::test;

namespace {

using Pruefung = std::string (*)(const std::uint8_t*, std::size_t);

std::string pruefen(Pruefung pruefung, const std::string& bytes) {
    return pruefung(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Name and bytes of every file of one target's corpus folder.
std::vector<std::pair<std::string, std::string>> korpus(const char* ziel) {
    const std::filesystem::path ordner =
        std::filesystem::path(VELMARO_SOURCE_DIR) / "tests/fuzz/korpus" / ziel;
    std::vector<std::pair<std::string, std::string>> dateien;
    for (const auto& eintrag : std::filesystem::directory_iterator(ordner)) {
        std::ifstream in(eintrag.path(), std::ios::binary);
        dateien.emplace_back(
            eintrag.path().filename().string(),
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    std::sort(dateien.begin(), dateien.end());
    return dateien;
}

class LeserKorpus : public ::testing::TestWithParam<std::pair<const char*, Pruefung>> {};

TEST_P(LeserKorpus, JedeDateiBestehtDiePruefungen) {
    const auto [ziel, pruefung] = GetParam();
    const auto dateien = korpus(ziel);
    // An empty file is the first thing a user hands in; without it the folder was not found.
    ASSERT_TRUE(std::any_of(dateien.begin(), dateien.end(), [](const auto& d) { return d.second.empty(); }));
    for (const auto& [name, bytes] : dateien)
        EXPECT_EQ(pruefen(pruefung, bytes), "") << name;
}

INSTANTIATE_TEST_SUITE_P(DreiLeser, LeserKorpus,
                         ::testing::Values(std::pair{"daten_fuzz", &DatenPruefen},
                                           std::pair{"styleconfig_fuzz", &StyleConfigPruefen},
                                           std::pair{"ftpconfig_fuzz", &FtpConfigPruefen}),
                         [](const auto& p) {
                             const std::string n = p.param.first;
                             return n.substr(0, n.find('_'));
                         });

} // namespace
