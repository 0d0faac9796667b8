#include "store/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

using Four = std::array<std::string, 4>;

TEST(FtpConfig, ReadingTakesFourLinesWhateverTheirEnds) {
    TempDir dir;
    const std::pair<std::string, Four> faelle[] = {
        {"Name\r\nftp.example.org\r\nuser\r\ngeheim", {"Name", "ftp.example.org", "user", "geheim"}},
        {"a\nb\nc\nd\n", {"a", "b", "c", "d"}},
        {"a\r\nb\r\nc\r\nd\r\n", {"a", "b", "c", "d"}},
        {"nur\r\nzwei", {"nur", "zwei", "", ""}},
        {"", {"", "", "", ""}},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6", {"1", "2", "3", "4"}},
        {"M\xFCller\r\n\r\n\r\nStra\xDF"
         "e",
         {"M\xFCller", "", "",
          "Stra\xDF"
          "e"}}};
    for (const auto& [bytes, four] : faelle) {
        writeFile(dir / "data/ftpconfig.bit", bytes);
        VelmaroZustand z;
        z.m_ordner = dir.path();
        ASSERT_EQ(z.FtpDateiLesen(), Ladezustand::Gelesen);
        EXPECT_EQ((Four{z.m_ftp.name, z.m_ftp.adresse, z.m_ftp.zugangsname, z.m_ftp.passwort}), four);
    }
    VelmaroZustand ohne;
    ohne.m_ordner = dir / "anderswo";
    EXPECT_EQ(ohne.FtpDateiLesen(), Ladezustand::Fehlt);
}

TEST(FtpConfig, WritingAtBeenden) {
    TempDir dir;
    VelmaroZustand z;
    z.m_ordner = dir.path();
    // A first run without data/: the folder and the file are created, the file for its owner only.
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "\r\n\r\n\r\n");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "data/ftpconfig.bit").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A longer old file leaves nothing behind the fourth value.
    writeFile(dir / "data/ftpconfig.bit", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    ASSERT_EQ(z.FtpDateiLesen(), Ladezustand::Gelesen);
    z.m_ftp.passwort = "";
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "1\r\n2\r\n3\r\n");
}

} // namespace
