#include "store/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

using Five = std::array<std::string, 5>;

// The fifth line, the site's address, is newer: files of four lines are as good. A line ends at LF,
// with or without CR.
TEST(FtpConfig, ReadingTakesFiveLinesWhateverTheirEnds) {
    TempDir dir;
    const std::pair<std::string, Five> faelle[] = {
        {"Name\r\nftp.example.org\r\nuser\r\ngeheim", {"Name", "ftp.example.org", "user", "geheim", ""}},
        {"a\nb\nc\nd\n", {"a", "b", "c", "d", ""}},
        {"a\r\r\nb\r\nc\r\nd\r\n", {"a\r", "b", "c", "d", ""}}, // a lone CR stays in the line
        {"nur\r\nzwei", {"nur", "zwei", "", "", ""}},
        {"", {"", "", "", "", ""}},
        {"1\r\n2\r\n3\r\n4\r\nhttps://x.de/\r\n6", {"1", "2", "3", "4", "https://x.de/"}},
        {"M\xFCller\r\n\r\n\r\nStra\337e", {"M\xFCller", "", "", "Stra\337e", ""}}};
    for (const auto& [bytes, five] : faelle) {
        writeFile(dir / "data/ftpconfig.bit", bytes);
        VelmaroZustand z;
        z.m_ordner = dir.path();
        ASSERT_EQ(z.FtpDateiLesen(), Ladezustand::Gelesen);
        EXPECT_EQ(
            (Five{z.m_ftp.name, z.m_ftp.adresse, z.m_ftp.zugangsname, z.m_ftp.passwort, z.m_ftp.website}),
            five);
    }
    VelmaroZustand ohne;
    ohne.m_ordner = dir / "anderswo";
    EXPECT_EQ(ohne.FtpDateiLesen(), Ladezustand::Fehlt);
}

TEST(FtpConfig, WritingAtBeenden) {
    TempDir dir;
    VelmaroZustand z;
    z.m_ordner = dir.path();
    // A first run without data/: the folder and the file are created.
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "\r\n\r\n\r\n");

    // A longer file leaves nothing behind the fifth value, and without an address four lines.
    writeFile(dir / "data/ftpconfig.bit", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    ASSERT_EQ(z.FtpDateiLesen(), Ladezustand::Gelesen);
    z.m_ftp.passwort = "";
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "1\r\n2\r\n3\r\n\r\n5");
    z.m_ftp.website = "";
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "1\r\n2\r\n3\r\n");
}

} // namespace
