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
};

// Damaged and hostile files at the three names: what the start makes of them, and that a file it
// could not read is never replaced.
TEST_F(StartUndEnde, DamagedAndHostileFilesCostNoArticle) {
    z.m_artikelProSeite = "5";
    for (const char* u : {"eins", "zwei", "drei"})
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), u, "text"});
    ASSERT_TRUE(z.DateienSchreiben().empty());
    const std::string gut = readFile(dir / "data/daten.bit");
    // The second article's marker (with its length byte) replaced.
    const auto zweiter = gut.find("ARTIKEL", gut.find("eins")) - 1;
    const auto ersetzt = [&](const std::string& durch) {
        return gut.substr(0, zweiter) + durch + gut.substr(zweiter + 8);
    };
    // A headline claiming 4 Gi characters in a 100-byte file, in the narrow and the wide form.
    const auto riesig = [](std::string laenge) {
        std::string b = "\0015\7ARTIKEL" + laenge;
        b.resize(100, 'x');
        return b;
    };

    enum Art { Bytes, Ordner, Fifo };
    using L = Ladezustand;
    // The file, what lies there, what the start makes of it and how many articles it keeps.
    const std::tuple<const char*, Art, std::string, Ladezustand, std::size_t> faelle[] = {
        {"daten.bit", Bytes, ersetzt("\10ARTIKELS"), L::Beschaedigt, 1},
        {"daten.bit", Bytes, ersetzt("\xFF\xFF\xFF\xF0\xFF\xFF\xFF"), L::Beschaedigt, 1},
        {"daten.bit", Bytes, gut.substr(0, gut.size() - 8), L::Beschaedigt, 2}, // into the last date
        {"daten.bit", Bytes, riesig(std::string(7, '\xFF')), L::Beschaedigt, 0},
        {"daten.bit", Bytes, riesig("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"), L::Beschaedigt, 0},
        {"daten.bit", Bytes, gut + "Rest nach ENDE", L::Gelesen, 3},
        {"styleconfig.bit", Bytes, std::string(31, '\0'), L::Beschaedigt, 0},
        {"styleconfig.bit", Bytes, "", L::Fehlt, 0},
        {"daten.bit", Ordner, "", L::Unlesbar, 0},
        {"daten.bit", Fifo, "", L::Unlesbar, 0},
        {"ftpconfig.bit", Fifo, "", L::Unlesbar, 0},
        {"ftpconfig.bit", Bytes, std::string((1 << 20) + 1, 'x'), L::Unlesbar, 0},
        {"styleconfig.bit", Bytes, std::string((1 << 20) + 1, 'x'), L::Unlesbar, 0},
    };
    for (const auto& [name, art, bytes, soll, artikel] : faelle) {
        SCOPED_TRACE(testing::Message() << name << " " << art << " " << bytes.size() << " bytes");
        TempDir ordner;
        const fs::path pfad = ordner / "data" / name;
        fs::create_directories(art == Ordner ? pfad : pfad.parent_path());
        if (art == Bytes)
            writeFile(pfad, bytes);
        ASSERT_TRUE(art != Fifo || ::mkfifo(pfad.c_str(), 0644) == 0);
        VelmaroZustand neu;
        neu.m_ordner = ordner.path();
        const Datendatei datei = *DatendateiMitNamen(name);
        const Ladezustand ist = (neu.*DateiArt(datei).lesen)();
        EXPECT_EQ(std::pair(ist, neu.m_artikelListe.size()), std::pair(soll, artikel));
        EXPECT_TRUE(!bytes.starts_with("\0015") || neu.m_artikelProSeite == "5");
        if (soll != L::Unlesbar)
            continue;
        const std::string n = name;
        EXPECT_NE(neu.UnlesbarText(datei).text.find("data/" + n), std::string::npos);
        // "Beenden" leaves it alone and says so; what was typed goes beside it.
        neu.m_artikelListe.addTail({DateTime::fromParts(2020, 1, 1), "neu", "getippt"});
        neu.m_ftp.passwort = neu.m_style.datumHintergrund = "getippt";
        const auto typ = fs::symlink_status(pfad).type();
        const auto hinweise = neu.DateienSchreiben();
        ASSERT_EQ(hinweise.size(), 1u);
        EXPECT_TRUE(!hinweise[0].fehler &&
                    hinweise[0].text.find("data/" + n + " wurde nicht überschrieben") != std::string::npos);
        EXPECT_EQ(fs::symlink_status(pfad).type(), typ);
        EXPECT_TRUE(art != Bytes || readFile(pfad) == bytes);
        EXPECT_EQ(readFile(pfad.string() + ".neu"), neu.DateiInhalt(datei));
    }
}

// One copy per distinct damaged content; the same damage again reuses it.
TEST_F(StartUndEnde, DamagedFileIsCopiedOncePerContent) {
    const fs::path datei = dir / "data/daten.bit";
    writeFile(datei, "kaputt");
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(datei), dir / "data/daten.bit.bak");
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(datei), dir / "data/daten.bit.bak");
    writeFile(datei, "anders kaputt");
    EXPECT_EQ(VelmaroZustand::SicherungAnlegen(datei), dir / "data/daten.bit.bak2");
    ASSERT_TRUE(z.DateienSchreiben().empty());
    EXPECT_EQ(readFile(dir / "data/daten.bit.bak"), "kaputt");
    EXPECT_EQ(readFile(dir / "data/daten.bit.bak2"), "anders kaputt");
}

TEST_F(StartUndEnde, ReadOnlyFileAndLeftoversOfACrash) {
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), "eins", "a"});
    ASSERT_TRUE(z.DateienSchreiben().empty());
    const std::string alt = readFile(dir / "data/daten.bit");
    fs::permissions(dir / "data/daten.bit", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(z.DateienSchreiben().empty()); // unchanged: nothing to say
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 4, 1), "zwei", "b"});
    const auto hinweise = z.DateienSchreiben();
    ASSERT_EQ(hinweise.size(), 1u);
    EXPECT_NE(hinweise[0].text.find("schreibgeschützt"), std::string::npos);
    // What a crash left goes; names only like them stay.
    for (const char* n :
         {"daten.bit.a1B2c3", "ftpconfig.bit.ZZZZZZ", "styleconfig.bit.000000", "vertrauen.bit.Qw3rTy",
          "uebertragen.bit.abc123", "daten.bit.bak", "notizen.txt.a1B2c3", "daten.bit.a1B2c", "x"})
        writeFile(dir / "data" / n, "");
    z.ResteEntfernen();
    EXPECT_EQ(Ordnerinhalt(dir / "data"),
              (Dateien{{"daten.bit", alt},
                       {"daten.bit.neu", z.DateiInhalt(Datendatei::Daten)},
                       {"daten.bit.bak", ""},
                       {"ftpconfig.bit", z.DateiInhalt(Datendatei::FtpConfig)},
                       {"notizen.txt.a1B2c3", ""},
                       {"styleconfig.bit", z.DateiInhalt(Datendatei::StyleConfig)},
                       {"daten.bit.a1B2c", ""},
                       {"x", ""}}));
}

// The others are written all the same, and no temporary file is left.
TEST_F(StartUndEnde, UnwritableFileIsNamedAndTheOthersAreWritten) {
    fs::create_directories(dir / "data/daten.bit"); // a folder where the file should go
    const auto fehler = z.DateienSchreiben();
    ASSERT_EQ(fehler.size(), 1u);
    EXPECT_NE(fehler[0].text.find("data/daten.bit"), std::string::npos);
    EXPECT_EQ(Ordnerinhalt(dir / "data"),
              (Dateien{{"daten.bit", "?"},
                       {"ftpconfig.bit", z.DateiInhalt(Datendatei::FtpConfig)},
                       {"styleconfig.bit", z.DateiInhalt(Datendatei::StyleConfig)}}));
    // A file with a class of its own is never emptied from here.
    writeFile(dir / "data/vertrauen.bit", "ftps h 21 AB\n");
    EXPECT_TRUE(z.DateiSchreiben(Datendatei::Vertrauen));
    EXPECT_EQ(readFile(dir / "data/vertrauen.bit"), "ftps h 21 AB\n");
}

// A change to any of the three files tells "Beenden" there is something to save.
TEST_F(StartUndEnde, SnapshotSeesEveryFileBeendenWrites) {
    VelmaroZustand ftp = z, style = z, daten = z;
    ftp.m_ftp.passwort = "pw";
    style.m_style.tabelleBreite = "500";
    daten.m_artikelListe.addTail({});
    for (VelmaroZustand* v : {&ftp, &style, &daten})
        EXPECT_NE(v->Schnappschuss(), z.Schnappschuss());
}

} // namespace
