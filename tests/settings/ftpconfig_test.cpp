#include "app/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

struct FtpConfig : ::testing::Test {
    TempDir dir;
    VelmaroZustand z;
    FtpConfig() {
        z.m_ordner = dir.path();
        z.m_marker = {"ARTIKEL", "ENDE"};
    }
    std::array<std::string, 4> read(const std::string& bytes) {
        writeFile(dir / "data/ftpconfig.bit", bytes);
        VelmaroZustand r;
        r.m_ordner = dir.path();
        EXPECT_TRUE(r.FtpDateiLesen());
        return {r.m_einstellungen[0], r.m_einstellungen[1], r.m_einstellungen[2], r.m_einstellungen[3]};
    }
};

using Four = std::array<std::string, 4>;

TEST_F(FtpConfig, Reading) {
    EXPECT_EQ(read("Name\r\nftp.example.org\r\nuser\r\ngeheim"),
              (Four{"Name", "ftp.example.org", "user", "geheim"}));
    EXPECT_EQ(read("a\nb\nc\nd\n"), (Four{"a", "b", "c", "d"}));
    EXPECT_EQ(read("a\r\nb\r\nc\r\nd\r\n"), (Four{"a", "b", "c", "d"}));
    EXPECT_EQ(read("nur\r\nzwei"), (Four{"nur", "zwei", "", ""}));
    EXPECT_EQ(read(""), (Four{"", "", "", ""}));
    EXPECT_EQ(read("1\r\n2\r\n3\r\n4\r\n5\r\n6"), (Four{"1", "2", "3", "4"}));
    EXPECT_EQ(read("M\xFCller\r\n\r\n\r\nStra\xDF"
                   "e"),
              (Four{"M\xFCller", "", "",
                    "Stra\xDF"
                    "e"}));
}

TEST_F(FtpConfig, MissingFileIsReported) {
    EXPECT_FALSE(z.FtpDateiLesen());
}

TEST_F(FtpConfig, WritingAtBeenden) {
    // A first run without data/: the folder and the file are created, the file for its owner only.
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "\r\n\r\n\r\n");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "data/ftpconfig.bit").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A longer old file leaves nothing behind the fourth value.
    writeFile(dir / "data/ftpconfig.bit", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    ASSERT_TRUE(z.FtpDateiLesen());
    z.m_einstellungen[3] = "";
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "1\r\n2\r\n3\r\n");
}

} // namespace
