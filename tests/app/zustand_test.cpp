#include "app/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct StartUndEnde : ::testing::Test {
    TempDir dir;
    VelmaroZustand make() {
        VelmaroZustand z;
        z.m_ordner = dir.path();
        z.m_marker = {"ARTIKEL", "ENDE"};
        return z;
    }
};

TEST_F(StartUndEnde, FirstRunWritesAllThreeFiles) {
    VelmaroZustand z = make();
    EXPECT_EQ(z.DatenDateiLesen(), Ladezustand::Fehlt);
    EXPECT_FALSE(z.FtpDateiLesen());
    EXPECT_EQ(z.StyleDateiLesen(), Ladezustand::Fehlt);
    EXPECT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/daten.bit"), std::string("\0\x04"
                                                            "ENDE",
                                                            6));
    EXPECT_EQ(readFile(dir / "data/styleconfig.bit"), std::string(16 + 16, '\0'));
    EXPECT_EQ(readFile(dir / "data/ftpconfig.bit"), "\r\n\r\n\r\n");
}

TEST_F(StartUndEnde, EmptyFilesArePassedOver) {
    writeFile(dir / "data/daten.bit", "");
    writeFile(dir / "data/styleconfig.bit", "");
    VelmaroZustand z = make();
    EXPECT_EQ(z.DatenDateiLesen(), Ladezustand::Fehlt);
    EXPECT_EQ(z.StyleDateiLesen(), Ladezustand::Fehlt);
}

TEST_F(StartUndEnde, DamagedFileKeepsWhatWasReadAndACopy) {
    VelmaroZustand w = make();
    w.m_artikelProSeite = "5";
    w.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), "eins", "a"});
    w.m_artikelListe.addTail({DateTime::fromParts(2003, 4, 1), "zwei", "b"});
    ASSERT_TRUE(w.DateienSchreiben().empty());
    std::string bytes = readFile(dir / "data/daten.bit");
    bytes.resize(bytes.size() - 8); // into the second article's date
    writeFile(dir / "data/daten.bit", bytes);

    VelmaroZustand z = make();
    EXPECT_EQ(z.DatenDateiLesen(), Ladezustand::Beschaedigt);
    EXPECT_EQ(z.m_artikelListe.size(), 1u);
    EXPECT_EQ(z.m_artikelProSeite, "5");

    const fs::path kopie = VelmaroZustand::SicherungAnlegen(dir / "data/daten.bit");
    EXPECT_EQ(kopie, dir / "data/daten.bit.bak");
    EXPECT_EQ(readFile(kopie), bytes);
    // The same damage again reuses the copy; other bytes get a copy of their own.
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(dir / "data/daten.bit"), kopie);
    writeFile(dir / "data/daten.bit", bytes.substr(0, 10));
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(dir / "data/daten.bit"), dir / "data/daten.bit.bak2");

    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(kopie), bytes);
}

TEST_F(StartUndEnde, UnwritableFileIsNamedAndTheOldOneSurvives) {
    writeFile(dir / "data/styleconfig.bit", std::string(32, '\0'));
    fs::create_directories(dir / "data/daten.bit"); // a folder where the file should go
    VelmaroZustand z = make();
    z.m_einstellungen[4] = "#FFFFFF";
    const auto fehler = z.DateienSchreiben();
    ASSERT_EQ(fehler.size(), 1u);
    EXPECT_NE(fehler[0].text.find("data/daten.bit"), std::string::npos);
    EXPECT_EQ(fehler[0].titel, "Fehler");
    EXPECT_TRUE(fs::is_directory(dir / "data/daten.bit"));
    // The other files were written all the same.
    EXPECT_EQ(readFile(dir / "data/styleconfig.bit").substr(0, 8), "\x07#FFFFFF");
    for (const auto& e : fs::directory_iterator(dir / "data"))
        EXPECT_EQ(e.path().string().find(".bit."), std::string::npos) << "temporary file left: " << e.path();
}

TEST_F(StartUndEnde, SnapshotSeesEveryChange) {
    VelmaroZustand z = make();
    const std::string start = z.Schnappschuss();
    EXPECT_EQ(z.Schnappschuss(), start);
    z.m_einstellungen[3] = "pw";
    EXPECT_NE(z.Schnappschuss(), start);
    z.m_einstellungen[3].clear();
    z.m_overBold = 1;
    EXPECT_NE(z.Schnappschuss(), start);
    z.m_overBold = 0;
    z.m_artikelProSeite = "6";
    EXPECT_NE(z.Schnappschuss(), start);
}

} // namespace
