#include "store/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmaro;
using namespace velmaro::test;

namespace {

struct FtpConfig : ::testing::Test {
    TempDir dir;
    VelmaroZustand z;
    FtpConfig() { z.m_ordner = dir.path(); }
};

// The fifth line, the site's address, is newer: files of four lines are as good. A line ends at LF,
// with or without CR.
TEST_F(FtpConfig, ReadingTakesFiveLinesWhateverTheirEnds) {
    const std::pair<std::string, std::string> faelle[] = {
        {"Name\r\nftp.example.org\r\nuser\r\ngeheim", "Name|ftp.example.org|user|geheim|"},
        {"a\nb\nc\nd\n", "a|b|c|d|"},
        {"a\r\r\nb\r\nc\r\nd\r\n", "a\r|b|c|d|"}, // a lone CR stays in the line
        {"nur\r\nzwei", "nur|zwei|||"},
        {"1\r\n2\r\n3\r\n4\r\nhttps://x.de/\r\n6", "1|2|3|4|https://x.de/"},
    };
    for (const auto& [bytes, soll] : faelle) {
        writeFile(dir / "data/ftpconfig.bit", bytes);
        ASSERT_EQ(z.FtpDateiLesen(), Ladezustand::Gelesen);
        const FtpZugangsdaten& f = z.m_ftp;
        EXPECT_EQ(f.name + "|" + f.adresse + "|" + f.zugangsname + "|" + f.passwort + "|" + f.website, soll);
    }
}

} // namespace
