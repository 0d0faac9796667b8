#include "store/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct StartUndEnde : ::testing::Test {
    TempDir dir;
    VelmaroZustand z;
    StartUndEnde() {
        z.m_ordner = dir.path();
        z.m_marker = {"ARTIKEL", "ENDE"};
    }
    // The next start on the same folder.
    Ladezustand neuLesen(VelmaroZustand& neu) {
        neu.m_ordner = dir.path();
        neu.m_marker = z.m_marker;
        return neu.DatenDateiLesen();
    }
};

TEST_F(StartUndEnde, DamagedFileKeepsWhatWasReadAndACopy) {
    z.m_artikelProSeite = "5";
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), "eins", "a"});
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 4, 1), "zwei", "b"});
    ASSERT_TRUE(z.DateienSchreiben().empty());
    std::string bytes = readFile(dir / "data/daten.bit");
    bytes.resize(bytes.size() - 8); // into the second article's date
    writeFile(dir / "data/daten.bit", bytes);

    VelmaroZustand neu;
    EXPECT_EQ(neuLesen(neu), Ladezustand::Beschaedigt);
    EXPECT_EQ(neu.m_artikelListe.size(), 1u);
    EXPECT_EQ(neu.m_artikelProSeite, "5");

    // One copy per distinct damaged content; the same damage again reuses it.
    const fs::path kopie = VelmaroZustand::SicherungAnlegen(dir / "data/daten.bit");
    EXPECT_EQ(kopie, dir / "data/daten.bit.bak");
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(dir / "data/daten.bit"), kopie);
    writeFile(dir / "data/daten.bit", bytes.substr(0, 10));
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(dir / "data/daten.bit"), dir / "data/daten.bit.bak2");
    ASSERT_TRUE(neu.DateienSchreiben().empty());
    EXPECT_EQ(readFile(kopie), bytes);

    writeFile(dir / "data/styleconfig.bit", std::string(31, '\0'));
    EXPECT_EQ(neu.StyleDateiLesen(), Ladezustand::Beschaedigt);
    writeFile(dir / "data/styleconfig.bit", "");
    EXPECT_EQ(neu.StyleDateiLesen(), Ladezustand::Fehlt);
}

TEST_F(StartUndEnde, UnwritableFileIsNamedAndTheOldOneSurvives) {
    fs::create_directories(dir / "data/daten.bit"); // a folder where the file should go
    z.m_style.datumHintergrund = "#FFFFFF";
    const auto fehler = z.DateienSchreiben();
    ASSERT_EQ(fehler.size(), 1u);
    EXPECT_NE(fehler[0].text.find("data/daten.bit"), std::string::npos);
    EXPECT_EQ(fehler[0].titel, "Fehler");
    EXPECT_TRUE(fs::is_directory(dir / "data/daten.bit"));
    // The other files were written all the same, and no temporary file is left.
    EXPECT_EQ(readFile(dir / "data/styleconfig.bit").substr(0, 8), "\x07#FFFFFF");
    int dateien = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "data"))
        ++dateien;
    EXPECT_EQ(dateien, 3);
}

TEST_F(StartUndEnde, SnapshotSeesEveryChangeBeendenWouldWrite) {
    const std::string start = z.Schnappschuss();
    for (auto aendern : std::initializer_list<void (*)(VelmaroZustand&)>{
             [](VelmaroZustand& v) { v.m_ftp.passwort = "pw"; },
             [](VelmaroZustand& v) { v.m_style.tabelleBreite = "500"; },
             [](VelmaroZustand& v) { v.m_style.overBold = 1; },
             [](VelmaroZustand& v) { v.m_artikelProSeite = "6"; },
             [](VelmaroZustand& v) { v.m_artikelListe.addTail({}); }}) {
        VelmaroZustand v = z;
        aendern(v);
        EXPECT_NE(v.Schnappschuss(), start);
    }
    EXPECT_EQ(z.Schnappschuss(), start);
}

} // namespace
