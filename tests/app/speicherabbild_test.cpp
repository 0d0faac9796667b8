// The FTP password in velmaro's memory: no core dump holds it, and no other program running as the
// same user may read it.
#include "platform/sperre.h"
#include "store/datendateien.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

// The kernel hands /proc/PID/environ and the like of a process that is not dumpable to root, whoever
// runs it; so velmaro is started as another user, held waiting for the folder's lock, and looked at
// meanwhile.
TEST(Speicherabbild, NichtLesbarFuerAndereProgrammeDesBenutzers) {
    if (geteuid() != 0)
        GTEST_SKIP() << "starting velmaro as another user needs root";
    TempDir t;
    const fs::path data = t / "data", sperrDatei = data / DateiName(Datendatei::Sperre);
    fs::create_directories(data);
    Ordnersperre sperre;
    ASSERT_EQ(sperre.Nehmen(sperrDatei), Ordnersperre::Genommen);
    for (const auto& p : {t.path(), data, sperrDatei})
        fs::permissions(p, fs::perms::all);

    const pid_t pid = fork();
    if (pid == 0) {
        execl("/usr/bin/setpriv", "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
              VELMARO_BINARY, "-C", t.path().c_str(), "--generate", static_cast<char*>(nullptr));
        _exit(127);
    }
    const std::string proc = "/proc/" + std::to_string(pid);
    bool gestartet = false;
    uid_t besitzer = 65534;
    for (int i = 0; i < 200 && besitzer != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        gestartet =
            gestartet || fs::read_symlink(proc + "/exe").filename() == fs::path(VELMARO_BINARY).filename();
        struct stat st {};
        if (gestartet && stat((proc + "/environ").c_str(), &st) == 0)
            besitzer = st.st_uid;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_TRUE(gestartet);
    EXPECT_EQ(besitzer, 0u);
}
