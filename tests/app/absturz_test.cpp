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
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

extern char** environ;

namespace {

// make stress raises it through VELMARO_TOETUNGEN.
const int kToetungen = [] {
    const char* n = std::getenv("VELMARO_TOETUNGEN");
    return n && std::atoi(n) > 0 ? std::atoi(n) : 200;
}();

// Starts the saving loop and returns once its first save is complete.
pid_t dauerschreiberStarten(const fs::path& ordner, const std::string& datei) {
    int rohr[2];
    if (::pipe(rohr) != 0)
        return -1;
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_adddup2(&aktionen, rohr[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&aktionen, rohr[0]);
    std::string programm = VELMARO_DAUERSCHREIBER, o = ordner.string(), d = datei;
    char* argv[] = {programm.data(), o.data(), d.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, programm.c_str(), &aktionen, nullptr, argv, environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&aktionen);
    ::close(rohr[1]);
    char bereit = 0;
    if (pid > 0 && ::read(rohr[0], &bereit, 1) != 1) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ::close(rohr[0]);
    return pid;
}

// Reads the file the way the program does at start; true when it read completely.
bool liestSichWieBeimStart(const fs::path& ordner, const std::string& datei) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    if (datei == "daten.bit")
        return z.DatenDateiLesen() == Ladezustand::Gelesen && z.m_artikelListe.size() >= 300;
    if (datei == "styleconfig.bit")
        return z.StyleDateiLesen() == Ladezustand::Gelesen;
    return z.FtpDateiLesen() == Ladezustand::Gelesen && z.m_ftp.passwort.rfind("Passwort-", 0) == 0;
}

class AbsturzBeimSpeichern : public ::testing::TestWithParam<const char*> {};

TEST_P(AbsturzBeimSpeichern, DieDateiIstDanachImmerAltOderNeuUndGanz) {
    const std::string datei = GetParam();
    TempDir dir;
    fs::create_directories(dir / "data");
    const fs::path ziel = dir / "data" / datei;

    std::string fassung[2];
    for (int i = 0; i < 2; ++i) {
        VelmaroZustand z;
        FassungFuellen(z, i, dir.path());
        ASSERT_FALSE(z.DateiSchreiben(datei.c_str()));
        fassung[i] = readFile(ziel);
    }
    ASSERT_NE(fassung[0], fassung[1]);

    std::mt19937 zufall(std::random_device{}());
    // Up to a few saves' time after the first save: a kill lands anywhere in the loop.
    std::uniform_int_distribution<int> wartezeit(0, 15000);
    int gesehen[2] = {0, 0};
    for (int k = 0; k < kToetungen; ++k) {
        const pid_t pid = dauerschreiberStarten(dir.path(), datei);
        ASSERT_GT(pid, 0) << "the saving loop did not start or failed its first save";
        ::usleep(static_cast<useconds_t>(wartezeit(zufall)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the loop ended by itself: a save failed (kill " << k << ")";

        const std::string jetzt = readFile(ziel);
        ASSERT_TRUE(jetzt == fassung[0] || jetzt == fassung[1])
            << "kill " << k << ": " << jetzt.size() << " bytes, neither version";
        ++gesehen[jetzt == fassung[1] ? 1 : 0];
        ASSERT_TRUE(liestSichWieBeimStart(dir.path(), datei)) << "kill " << k;
        if (datei == "ftpconfig.bit") {
            struct stat st {};
            ASSERT_EQ(::stat(ziel.c_str(), &st), 0);
            ASSERT_EQ(st.st_mode & 0777, 0600u) << "kill " << k;
        }
    }
    // Both versions were left behind, so kills did fall between and inside saves.
    EXPECT_GT(gesehen[0], 0);
    EXPECT_GT(gesehen[1], 0);
    // The temporary file gets its name only for the moment before the rename, so a kill rarely
    // leaves one behind (a named one from the start would remain after nearly every kill).
    std::vector<std::string> uebrig;
    for (const auto& e : fs::directory_iterator(dir / "data"))
        if (e.path().filename() != datei)
            uebrig.push_back(e.path().filename().string());
    EXPECT_LT(uebrig.size(), static_cast<std::size_t>(kToetungen / 4));
    std::cout << datei << ": " << kToetungen << " kills survived; old version " << gesehen[0] << "x, new "
              << gesehen[1] << "x, leftover temporary files " << uebrig.size() << "\n";
}

INSTANTIATE_TEST_SUITE_P(DreiDateien, AbsturzBeimSpeichern,
                         ::testing::Values("daten.bit", "styleconfig.bit", "ftpconfig.bit"),
                         [](const auto& param) {
                             std::string n = param.param;
                             return n.substr(0, n.find('.'));
                         });

} // namespace
