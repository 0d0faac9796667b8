// A program killed while it saves: a child process saves one file of data/ over and over and is
// killed with SIGKILL at a random moment, 200 times. The file must always be the old or the new
// version, whole and readable, never cut short, empty or gone.
#include "store/zustand.h"

#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

// make stress raises it through VELMARO_TOETUNGEN.
const int kToetungen = std::getenv("VELMARO_TOETUNGEN") ? std::atoi(std::getenv("VELMARO_TOETUNGEN")) : 200;

class AbsturzBeimSpeichern : public ::testing::TestWithParam<const char*> {};

TEST_P(AbsturzBeimSpeichern, DieDateiIstDanachImmerAltOderNeuUndGanz) {
    const std::string datei = GetParam();
    TempDir dir;
    fs::create_directories(dir / "data");
    const fs::path ziel = dir / "data" / datei;

    const Datendatei art = *DatendateiMitNamen(datei);
    const std::string fassung[2] = {Fassung(0, dir.path()).DateiInhalt(art),
                                    Fassung(1, dir.path()).DateiInhalt(art)};

    std::mt19937 zufall(std::random_device{}());
    // Up to a few saves' time after the first save: a kill lands anywhere in the loop.
    std::uniform_int_distribution<int> wartezeit(0, 15000);
    int gesehen[2] = {0, 0};
    for (int k = 0; k < kToetungen; ++k) {
        // The saving loop, once its first save is complete (it says "!"), and its process id.
        pid_t pid = -1;
        std::FILE* schreiber = popen(
            ("echo $$; exec '" VELMARO_DAUERSCHREIBER "' '" + dir.path().string() + "' " + datei).c_str(),
            "r");
        ASSERT_TRUE(schreiber && std::fscanf(schreiber, "%d\n", &pid) == 1 && std::fgetc(schreiber) == '!')
            << "the saving loop did not start or failed its first save";
        ::usleep(static_cast<useconds_t>(wartezeit(zufall)));
        ::kill(pid, SIGKILL);
        const int status = pclose(schreiber);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the loop ended by itself: a save failed (kill " << k << ")";

        const std::string jetzt = readFile(ziel);
        ASSERT_TRUE(jetzt == fassung[0] || jetzt == fassung[1])
            << "kill " << k << ": " << jetzt.size() << " bytes, neither version";
        ++gesehen[jetzt == fassung[1] ? 1 : 0];
        ASSERT_TRUE(datei != "ftpconfig.bit" ||
                    fs::status(ziel).permissions() == (fs::perms::owner_read | fs::perms::owner_write))
            << "kill " << k;
    }
    // Both versions were left behind, so kills did fall between and inside saves.
    EXPECT_GT(gesehen[0], 0);
    EXPECT_GT(gesehen[1], 0);
}

INSTANTIATE_TEST_SUITE_P(DreiDateien, AbsturzBeimSpeichern,
                         ::testing::Values("daten.bit", "styleconfig.bit", "ftpconfig.bit"),
                         [](const auto& p) {
                             return std::string(p.param).substr(0, std::string(p.param).find('.'));
                         });

} // namespace
