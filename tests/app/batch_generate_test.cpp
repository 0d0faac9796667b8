// velmaro -C DIR --generate, run as the real program on prepared folders.
#include "app/zustand.h"
#include "site/generator.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/wait.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct Lauf {
    int status = -1;
    std::string aus;
    std::string fehler;
};

Lauf velmaro(const TempDir& ablage, const std::string& argumente) {
    const fs::path aus = ablage / "stdout.txt";
    const fs::path fehler = ablage / "stderr.txt";
    const std::string befehl = std::string("'") + VELMARO_BINARY + "' " + argumente + " >'" + aus.string() +
                               "' 2>'" + fehler.string() + "' </dev/null";
    const int roh = std::system(befehl.c_str());
    Lauf l;
    l.status = WIFEXITED(roh) ? WEXITSTATUS(roh) : -1;
    l.aus = readFile(aus);
    l.fehler = readFile(fehler);
    return l;
}

std::map<std::string, std::string> dateien(const fs::path& ordner) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(ordner))
        m[e.path().filename().string()] = readFile(e.path());
    return m;
}

struct Generate : ::testing::Test {
    TempDir arbeit;    // the site owner's folder
    TempDir vergleich; // the same data run through the window's path
    TempDir ablage;    // the program's output streams

    // Seven articles, "5" per page and a full set of style values, saved as "Beenden" saves them.
    void datenAnlegen(const fs::path& ordner) {
        VelmaroZustand z;
        z.m_ordner = ordner;
        z.m_marker = {"ARTIKEL", "ENDE"};
        z.m_artikelProSeite = "5";
        for (int i = 1; i <= 7; ++i) {
            z.m_datum = DateTime::fromParts(2004, 1, i, 9, 30);
            z.m_ueberschrift = "Nachricht " + std::to_string(i) + " \xFC<b>";
            z.m_textinhalt = std::string(static_cast<std::size_t>(i * 60), 'x') + "&\r\nEnde \xE4";
            z.ArtikelEinfuegen();
        }
        for (int i = 4; i < 20; ++i)
            z.m_einstellungen[i] = "#" + std::to_string(i * 111);
        z.m_datumBold = 1;
        z.m_overUnderline = 1;
        ASSERT_TRUE(z.DateienSchreiben().empty());
    }

    // What "Update Website" writes from the same files after a start of the window.
    std::map<std::string, std::string> fensterErgebnis(const fs::path& ordner) {
        VelmaroZustand z;
        z.m_ordner = ordner;
        z.m_marker = {"ARTIKEL", "ENDE"};
        EXPECT_EQ(z.DatenDateiLesen(), Ladezustand::Gelesen);
        EXPECT_EQ(z.StyleDateiLesen(), Ladezustand::Gelesen);
        WebsiteErzeugen(z);
        return dateien(ordner / "output");
    }
};

TEST_F(Generate, WritesWhatUpdateWebsiteWrites) {
    datenAnlegen(arbeit.path());
    datenAnlegen(vergleich.path());
    const Lauf l = velmaro(ablage, "-C '" + arbeit.path().string() + "' --generate");
    EXPECT_EQ(l.status, 0) << l.fehler;
    EXPECT_EQ(l.aus, "2 Indexseiten und 7 Artikel nach " + (arbeit / "output").string() + " geschrieben\n");
    EXPECT_EQ(l.fehler, "");

    const auto erwartet = fensterErgebnis(vergleich.path());
    EXPECT_EQ(erwartet.size(), 11u);
    EXPECT_EQ(dateien(arbeit / "output"), erwartet);
    // The style values came from the saved file, not from empty defaults.
    EXPECT_NE(readFile(arbeit / "output/style.css").find("width:#2109;background-color:#1998;"),
              std::string::npos);
    // The data files are only read.
    EXPECT_EQ(readFile(arbeit / "data/daten.bit"), readFile(vergleich / "data/daten.bit"));
}

TEST_F(Generate, DamagedArticleFileWritesNothing) {
    datenAnlegen(arbeit.path());
    std::string daten = readFile(arbeit / "data/daten.bit");
    daten.resize(daten.size() - 10);
    writeFile(arbeit / "data/daten.bit", daten);
    const Lauf l = velmaro(ablage, "--workdir '" + arbeit.path().string() + "' --generate");
    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("data/daten.bit ist beschädigt"), std::string::npos) << l.fehler;
    EXPECT_EQ(l.aus, "");
    EXPECT_FALSE(fs::exists(arbeit / "output"));
    EXPECT_EQ(readFile(arbeit / "data/daten.bit"), daten);
}

TEST_F(Generate, DamagedStyleFileLeavesOutputAsItWas) {
    datenAnlegen(arbeit.path());
    writeFile(arbeit / "output/inhalt1.php", "alt");
    writeFile(arbeit / "data/styleconfig.bit", std::string("\x07#EEEEEE\x02", 9));
    const Lauf l = velmaro(ablage, "-C '" + arbeit.path().string() + "' --generate");
    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("data/styleconfig.bit ist beschädigt"), std::string::npos) << l.fehler;
    EXPECT_EQ(dateien(arbeit / "output"), (std::map<std::string, std::string>{{"inhalt1.php", "alt"}}));
}

TEST_F(Generate, MissingArticleFileGivesAnEmptySite) {
    fs::create_directory(arbeit / "data");
    const Lauf l = velmaro(ablage, "-C '" + arbeit.path().string() + "' --generate");
    EXPECT_EQ(l.status, 0);
    EXPECT_EQ(l.aus, "1 Indexseite und 0 Artikel nach " + (arbeit / "output").string() + " geschrieben\n");
    EXPECT_NE(l.fehler.find("data/daten.bit fehlt"), std::string::npos);
    EXPECT_EQ(readFile(arbeit / "output/inhalt1.php"), "<table class=newstable></table>");
    EXPECT_EQ(readFile(arbeit / "output/style.css").size(), 407u);
}

TEST_F(Generate, FolderWithoutDataIsRefused) {
    const Lauf l = velmaro(ablage, "-C '" + arbeit.path().string() + "' --generate");
    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("kein Ordner data/"), std::string::npos);
    EXPECT_FALSE(fs::exists(arbeit / "output"));

    const Lauf fehlt = velmaro(ablage, "-C '" + (arbeit / "gibtsnicht").string() + "' --generate");
    EXPECT_EQ(fehlt.status, 1);
    EXPECT_FALSE(fs::exists(arbeit / "gibtsnicht"));
}

TEST_F(Generate, IncompleteRunFailsAndNamesTheFiles) {
    datenAnlegen(arbeit.path());
    fs::create_directories(arbeit / "output/inhalt2.php");
    const Lauf l = velmaro(ablage, "-C '" + arbeit.path().string() + "' --generate");
    EXPECT_EQ(l.status, 1);
    EXPECT_EQ(l.aus, "1 Indexseite und 5 Artikel nach " + (arbeit / "output").string() + " geschrieben\n");
    EXPECT_NE(l.fehler.find("inhalt2.php"), std::string::npos) << l.fehler;
}

} // namespace
