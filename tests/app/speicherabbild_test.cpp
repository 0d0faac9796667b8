// The FTP password in velmaro's memory: no core dump holds it, and no other program running as the
// same user may read it.
#include "platform/sperre.h"
#include "store/datendateien.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

    const auto [status, besitzer] = Ausfuehren(
        "setpriv --reuid=65534 --regid=65534 --clear-groups '" VELMARO_BINARY "' -C '" + t.path().string() +
        "' --generate & p=$!; for i in $(seq 60); do u=$(stat -c %u /proc/$p/environ); [ \"$u\" = 0 ] && break; "
        "sleep 0.05; done; kill -9 $p; echo $u");
    EXPECT_EQ(besitzer, "0\n");
}
