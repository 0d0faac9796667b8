#include "publish/sendeplan.h"

#include "platform/serverliste.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

using Liste = std::vector<std::string>;

TEST(Uebertragen, RecordRoundTripAndDamage) {
    Uebertragen u{"ftp 127.0.0.1 21 velmaro",
                  true,
                  {{"inhalt1.php", {31, std::string(64, 'a')}}, {"style.css", {0, sha256Hex("")}}}};
    const std::string text = u.Text();
    EXPECT_EQ(Uebertragen::Lesen(text), u);
    for (const std::string& kaputt :
         {text.substr(0, text.size() - 1), text.substr(0, 10), std::string("velmaro uebertragen 2\n"),
          text + "xyz 3 a.php\n", text + std::string(64, 'b') + " 3\n",
          text + std::string(64, 'A') + " 3 a\n", text + std::string(64, 'b') + " 3 inhalt1.php\n",
          std::string()})
        EXPECT_EQ(Uebertragen::Lesen(kaputt), std::nullopt) << kaputt;

    // A record that cannot be written (a full disk) is removed: it would claim the old state.
    TempDir t;
    const fs::path datei = t / "uebertragen.bit";
    ASSERT_TRUE(u.Speichern(datei));
    EXPECT_EQ(fs::status(datei).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    u.dateien["artikel1.php"] = {7, std::string(64, 'c')};
    MitDateiGrenze(100, [&] { EXPECT_FALSE(u.Speichern(datei)); });
    EXPECT_TRUE(u.entfernt() && !fs::exists(datei));
}

} // namespace

// What a listing says the folder holds: files only; an empty listing is an empty folder; a line in
// no known form makes the whole listing useless (the upload then asks SIZE per file).
TEST(Listing, UnixDosMlsdAndWhatIsNoFile) {
    using Groessen = std::map<std::string, std::uint64_t>;
    const struct {
        const char* was;
        std::string daten;
        bool mlsd;
        std::optional<Groessen> erwartet;
    } faelle[] = {
        {"empty folder", "", false, Groessen{}},
        {"sftp: only . and ..",
         "drwxr-xr-x    2 u  u  4096 Dec  7 16:56 .\ndrwxr-xr-x    3 u  u  4096 Dec  7 16:56 ..\n", false,
         Groessen{}},
        {"unix",
         "total 8\r\n-rw-r--r--   1 u  u  1234 Dec  7 16:56 inhalt1.php\r\n"
         "lrwxrwxrwx 1 u u 9 Dec 7 16:56 l -> x\r\n-rw-r--r-- 1 u u 5 Jan 1 2020 mit leer.php\r\n",
         false, Groessen{{"inhalt1.php", 1234}, {"mit leer.php", 5}}},
        {"dos", "12-07-26  04:56PM       <DIR>          data\r\n12-07-26  04:56PM   1234 style.css\r\n",
         false, Groessen{{"style.css", 1234}}},
        {"unknown form", "style.css 1234\n", false, std::nullopt},
        {"mlsd", "type=cdir;modify=2026; .\r\ntype=file;size=7;modify=2026; a.php\r\ntype=dir; sub\r\n", true,
         Groessen{{"a.php", 7}}},
        {"mlsd without sizes", "type=file;modify=2026; a.php\r\n", true, std::nullopt},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(f.mlsd ? MlsdLesen(f.daten) : ListeLesen(f.daten), f.erwartet) << f.was;
}
