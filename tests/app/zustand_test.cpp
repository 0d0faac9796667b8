#include "store/zustand.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct StartUndEnde : ::testing::Test {
    TempDir dir;
    VelmaroZustand z;
    StartUndEnde() { z.m_ordner = dir.path(); }
    // The next start on the same folder.
    Ladezustand neuLesen(VelmaroZustand& neu) {
        neu.m_ordner = dir.path();
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

TEST_F(StartUndEnde, FourGigabyteLengthInAHundredByteFileIsTheEndOfTheFile) {
    // Narrow and wide prefix forms of a headline claiming 4 Gi characters.
    for (const std::string& laenge :
         {std::string(7, '\xFF'), std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF")}) {
        std::string bytes = std::string("\x01") + "5\x07" + "ARTIKEL" + laenge;
        bytes.resize(100, 'x');
        writeFile(dir / "data/daten.bit", bytes);
        VelmaroZustand neu;
        EXPECT_EQ(neuLesen(neu), Ladezustand::Beschaedigt);
        EXPECT_EQ(neu.m_artikelListe.size(), 0u);
        EXPECT_EQ(neu.m_artikelProSeite, "5");
    }
}

// Damaged and hostile files at the three names: what the start makes of them, and that a file it
// could not read is never replaced.
TEST_F(StartUndEnde, DamagedAndHostileFilesCostNoArticle) {
    z.m_artikelProSeite = "5";
    for (const char* u : {"eins", "zwei", "drei"})
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), u, "text"});
    ASSERT_TRUE(z.DateienSchreiben().empty());
    const std::string gut = readFile(dir / "data/daten.bit");
    const auto zweiterMarker = gut.find("ARTIKEL", gut.find("eins"));
    const auto ersetzt = [&](const std::string& durch) {
        return gut.substr(0, zweiterMarker - 1) + durch + gut.substr(zweiterMarker + 7);
    };
    std::string zufall(300, '\0');
    std::uint32_t x = 12345;
    for (char& c : zufall)
        c = static_cast<char>((x = x * 1103515245 + 12345) >> 16);

    enum Art { Bytes, Ordner, Fifo, NullGeraet, Gross };
    const struct {
        const char* name;
        Art art;
        std::string bytes;
        Ladezustand soll;
        std::size_t artikel;
    } faelle[] = {
        {"daten.bit", Bytes,
         ersetzt("\x07"
                 "ARTIKLE"),
         Ladezustand::Beschaedigt, 1},
        {"daten.bit", Bytes,
         ersetzt("\x07"
                 "artikel"),
         Ladezustand::Beschaedigt, 1},
        {"daten.bit", Bytes,
         ersetzt("\x08"
                 "ARTIKELS"),
         Ladezustand::Beschaedigt, 1},
        {"daten.bit", Bytes, ersetzt("\xFF\xFF\xFF\xF0\xFF\xFF\xFF"), Ladezustand::Beschaedigt, 1},
        {"daten.bit", Bytes, zufall, Ladezustand::Beschaedigt, 0},
        {"daten.bit", Bytes, gut + "Rest nach ENDE", Ladezustand::Gelesen, 3},
        {"daten.bit", Ordner, "", Ladezustand::Unlesbar, 0},
        {"daten.bit", Fifo, "", Ladezustand::Unlesbar, 0},
        {"daten.bit", NullGeraet, "", Ladezustand::Unlesbar, 0},
        {"ftpconfig.bit", Fifo, "", Ladezustand::Unlesbar, 0},
        {"ftpconfig.bit", NullGeraet, "", Ladezustand::Unlesbar, 0},
        {"ftpconfig.bit", Gross, "", Ladezustand::Unlesbar, 0},
        {"styleconfig.bit", Fifo, "", Ladezustand::Unlesbar, 0},
        {"styleconfig.bit", Gross, "", Ladezustand::Unlesbar, 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.name << " case " << (&f - faelle));
        TempDir ordner;
        fs::create_directories(ordner / "data");
        const fs::path pfad = ordner / "data" / f.name;
        switch (f.art) {
        case Bytes:
            writeFile(pfad, f.bytes);
            break;
        case Ordner:
            fs::create_directories(pfad / "inhalt");
            break;
        case Fifo:
            ASSERT_EQ(::mkfifo(pfad.c_str(), 0644), 0);
            break;
        case NullGeraet:
            fs::create_symlink("/dev/zero", pfad);
            break;
        case Gross:
            writeFile(pfad, std::string((1 << 20) + 1, 'x'));
            break;
        }
        VelmaroZustand neu;
        neu.m_ordner = ordner.path();
        const std::string n = f.name;
        const Ladezustand ist = n == "daten.bit"       ? neu.DatenDateiLesen()
                                : n == "ftpconfig.bit" ? neu.FtpDateiLesen()
                                                       : neu.StyleDateiLesen();
        EXPECT_EQ(ist, f.soll);
        EXPECT_EQ(neu.m_artikelListe.size(), f.artikel);
        if (f.soll != Ladezustand::Unlesbar)
            continue;
        EXPECT_NE(neu.UnlesbarText(f.name).text.find("data/" + n), std::string::npos);
        // "Beenden" leaves it alone and says so; what was typed goes beside it.
        neu.m_artikelListe.addTail({DateTime::fromParts(2020, 1, 1), "neu", "getippt"});
        neu.m_ftp.passwort = neu.m_style.datumHintergrund = "getippt";
        const std::string vorher = f.art == Gross ? readFile(pfad) : "";
        const auto hinweise = neu.DateienSchreiben();
        ASSERT_EQ(hinweise.size(), 1u);
        EXPECT_FALSE(hinweise[0].fehler);
        EXPECT_NE(hinweise[0].text.find("data/" + n + " wurde nicht überschrieben"), std::string::npos);
        EXPECT_TRUE(fs::is_symlink(pfad) || fs::is_fifo(pfad) || fs::is_directory(pfad) ||
                    readFile(pfad) == vorher);
        EXPECT_EQ(readFile(pfad.string() + ".neu"), neu.DateiInhalt(n));
    }
}

TEST_F(StartUndEnde, ReadOnlyFileAndLeftoversOfACrash) {
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), "eins", "a"});
    ASSERT_TRUE(z.DateienSchreiben().empty());
    const std::string alt = readFile(dir / "data/daten.bit");
    fs::permissions(dir / "data/daten.bit", fs::perms::owner_read | fs::perms::group_read);
    // Unchanged: nothing to say.
    EXPECT_TRUE(z.DateienSchreiben().empty());
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 4, 1), "zwei", "b"});
    const auto hinweise = z.DateienSchreiben();
    ASSERT_EQ(hinweise.size(), 1u);
    EXPECT_NE(hinweise[0].text.find("schreibgeschützt"), std::string::npos);
    EXPECT_EQ(readFile(dir / "data/daten.bit"), alt);
    EXPECT_EQ(readFile(dir / "data/daten.bit.neu"), z.DateiInhalt("daten.bit"));

    const std::vector<std::string> reste = {"daten.bit.a1B2c3", "ftpconfig.bit.ZZZZZZ",
                                            "styleconfig.bit.000000"};
    const std::vector<std::string> fremde = {"daten.bit.bak", "notizen.txt.a1B2c3", "daten.bit.a1B2c", "x"};
    for (const auto& n : reste)
        writeFile(dir / "data" / n, "Passwort");
    for (const auto& n : fremde)
        writeFile(dir / "data" / n, "");
    z.ResteEntfernen();
    for (const auto& n : reste)
        EXPECT_FALSE(fs::exists(dir / "data" / n)) << n;
    for (const auto& n : fremde)
        EXPECT_TRUE(fs::exists(dir / "data" / n)) << n;
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
