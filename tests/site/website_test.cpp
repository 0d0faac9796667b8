// "Update Website" on real files: which files, what they hold, the counters, output/ replaced as a
// whole (after a failure, a kill, through a link); and velmaro -C DIR --generate, run
// as the real program, writing the same.
#include "site/generator.h"

#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/stat.h>

#include <map>
#include <numeric>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

// What a run must leave: style.css, the menu, the index pages and an article page per row; each
// index page links its rows' article pages, numbered on across the pages. The bytes of each are
// the page builders' and checked there.
std::map<std::string, std::vector<int>> erwartet(const std::vector<int>& seiten) {
    std::map<std::string, std::vector<int>> m{{"style.css", {}}, {"inhalt0.php", {}}, {"feed.xml", {}}};
    int n = 0;
    for (std::size_t k = 1; k <= seiten.size(); ++k) {
        std::vector<int>& links = m["inhalt" + std::to_string(k) + ".php"];
        for (int i = 0; i < seiten[k - 1]; ++i) {
            links.push_back(++n);
            m["artikel" + std::to_string(n) + ".php"];
        }
    }
    return m;
}

std::map<std::string, std::vector<int>> vorgefunden(const fs::path& ordner) {
    std::map<std::string, std::vector<int>> m;
    for (const auto& [name, bytes] : Ordnerinhalt(ordner)) {
        std::vector<int>& links = m[name];
        for (auto p = bytes.find("sitename=artikel"); name.starts_with("inhalt") && p != std::string::npos;
             p = bytes.find("sitename=artikel", p + 1))
            links.push_back(std::atoi(bytes.c_str() + p + 16));
    }
    return m;
}

// n articles, newest first, with "<", "&" and bytes above 127 in them.
VelmaroZustand zustand(const fs::path& ordner, int n, const std::string& proSeite, std::size_t mehr = 0) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_artikelProSeite = proSeite;
    for (int i = 1; i <= n; ++i)
        z.m_artikelListe.addTail({DateTime{DateTime::Valid, 38000.0 - i},
                                  "Artikel " + std::to_string(i) + " <\xFC>",
                                  std::string(i % 7 * 40u, 'x') + "&\r\nEnde \xE4" + std::string(mehr, 'y')});
    return z;
}

TEST(Website, PagesFilesAndCounters) {
    // Articles, the per-page value, the rows of each index page written.
    const std::tuple<int, std::string, std::vector<int>> faelle[] = {
        {7, "5", {5, 2}}, {0, "5", {0}},     {5, "5", {5}},
        {6, "5", {5, 1}}, {12, "", {0, 12}}, {400, "-1", {400}}, // beyond the writer's buffer
    };
    for (const auto& [artikel, proSeite, seiten] : faelle) {
        SCOPED_TRACE(testing::Message() << artikel << " articles, per page '" << proSeite << "'");
        TempDir dir;
        VelmaroZustand z = zustand(dir.path(), artikel, proSeite);
        // output/ missing at first; later runs write into what the one before the last left,
        // with something left over and a page longer than it will be. Every run gives the same bytes.
        for (int lauf = 0; lauf < 3; ++lauf) {
            int meldungen = 0;
            const GeneratorErgebnis e = Erzeugen(z, [&] { ++meldungen; });
            EXPECT_EQ(vorgefunden(dir / "output"), erwartet(seiten));
            EXPECT_EQ(std::tuple(meldungen, e.anzahlSeiten, e.anzahlArtikel, e.fehlendeDateien.size()),
                      std::tuple(1, static_cast<int>(seiten.size()),
                                 std::accumulate(seiten.begin(), seiten.end(), 0), 0u));
            fs::create_directories(dir / "output/artikel9999.php/x");
            writeFile(dir / "output/inhalt1.php",
                      readFile(dir / "output/inhalt1.php") + "sitename=artikel9999");
        }
    }
}

// Runs the program on ordner; its exit status and all it printed.
std::pair<int, std::string> generieren(const fs::path& ordner) {
    return Ausfuehren("'" VELMARO_BINARY "' -C '" + ordner.string() + "' --generate 2>&1 </dev/null");
}

// Seven articles, "5" per page, style values and two flags, saved as "Beenden" saves them.
VelmaroZustand datenAnlegen(const fs::path& ordner) {
    VelmaroZustand z = zustand(ordner, 7, "5");
    for (int i = 4; i < 20; ++i)
        Einstellung(z, i) = "#" + std::to_string(i * 111);
    z.m_style.datumBold = z.m_style.overUnderline = 1;
    z.DateienSchreiben();
    return z;
}

TEST(Generate, FolderWithoutDataOrWithADamagedFileWritesNothing) {
    // No data/, a file cut short, a flipped record marker. An unreadable file is the reader's case.
    for (const auto& [name, art, meldung] :
         {std::tuple{"data", 0, "kein Ordner data/"},
          {"data/styleconfig.bit", 1, "data/styleconfig.bit ist beschädigt"},
          {"data/daten.bit", 2, "data/daten.bit ist beschädigt"}}) {
        TempDir arbeit;
        datenAnlegen(arbeit.path());
        const fs::path pfad = arbeit / name;
        std::string bytes = art ? readFile(pfad) : "";
        fs::remove_all(pfad);
        if (art)
            writeFile(pfad, art == 1 ? bytes.substr(0, bytes.size() - 10)
                                     : bytes.replace(bytes.rfind("ARTIKEL") + 6, 1, "X"));
        const Dateien daten = Ordnerinhalt(arbeit / "data");
        const auto [status, aus] = generieren(arbeit.path());
        EXPECT_EQ(status, 1);
        EXPECT_NE(aus.find(meldung), std::string::npos) << aus;
        EXPECT_FALSE(fs::exists(arbeit / "output"));
        Dateien danach = Ordnerinhalt(arbeit / "data");
        danach.erase("velmaro.sperre");
        EXPECT_EQ(danach, daten);
    }

    // Without a new output/ no preview either.
    TempDir datei;
    datenAnlegen(datei.path());
    writeFile(datei / "output", "x");
    EXPECT_EQ(Ausfuehren("'" VELMARO_BINARY "' -C '" + datei.path().string() + "' --preview 2>&1").first, 1);
    EXPECT_FALSE(fs::exists(datei / "vorschau"));
}

// output/ is always one whole site: exactly the last run's files, also through a link to a folder
// elsewhere, whatever an earlier run or a crash left in the spare; after a failure (a full disk)
// exactly the previous site. The preview goes through the same exchange.
TEST(Website, OutputIsAlwaysOneWholeSite) {
    TempDir dir, draussen;
    fs::create_directories(draussen / "site");
    fs::create_symlink(draussen / "site", dir / "output");
    VelmaroZustand sieben = zustand(dir.path(), 7, "5");
    GeneratorErgebnis e = Erzeugen(sieben);
    ASSERT_TRUE(e.fehlendeDateien.empty());
    const Dateien alt = Ordnerinhalt(dir / "output");

    // The spare as a crash or another program may leave it: a link out, a file shared with one
    // outside, a FIFO, a folder at a page's name.
    const fs::path ersatz = draussen / ".site.ersatz";
    writeFile(draussen / "fremd.css", "fremd");
    fs::create_symlink(draussen / "fremd.css", ersatz / "style.css");
    fs::create_hard_link(draussen / "fremd.css", ersatz / "inhalt0.php");
    ASSERT_EQ(::mkfifo((ersatz / "inhalt1.php").c_str(), 0644), 0);
    fs::create_directories(ersatz / "artikel1.php/x");

    // Three articles fewer and longer bodies, first where no file may grow beyond 1,500 bytes.
    VelmaroZustand vier = zustand(dir.path(), 4, "5", 800);
    GeneratorErgebnis voll;
    MitDateiGrenze(1500, [&] { voll = Erzeugen(vier); });
    EXPECT_EQ(Ordnerinhalt(dir / "output"), alt);
    EXPECT_EQ(voll.fehlendeDateien.size(), 8u); // style, menu, feed, 1 index and 4 article pages
    EXPECT_NE(voll.grund.find("bei inhalt1.php"), std::string::npos) << voll.grund;

    e = Erzeugen(vier);
    ASSERT_TRUE(e.fehlendeDateien.empty());
    EXPECT_EQ(readFile(draussen / "fremd.css"), "fremd");
    EXPECT_EQ(vorgefunden(dir / "output"), erwartet({4}));
    EXPECT_EQ(Ordnerinhalt(ersatz), alt);

    // A file system that cannot exchange folders renames twice; a crash between the renames
    // leaves the previous site beside a missing folder, and the next run starts from it.
    fs::rename(draussen / "site", draussen / ".site.alt");
    ASSERT_TRUE(Erzeugen(sieben).fehlendeDateien.empty());
    EXPECT_EQ(Ordnerinhalt(dir / "output"), alt);
    EXPECT_EQ(vorgefunden(ersatz), erwartet({4}));
}

// The program writes what "Update Website" writes from the same articles and settings, and its
// output/ survives a kill at any moment whole: always exactly the site of one version of the data.
TEST(Generate, WritesWhatUpdateWebsiteWritesAndSurvivesAKill) {
    TempDir dir, vorlage[2];
    VelmaroZustand fassung[2] = {datenAnlegen(vorlage[0].path()), zustand(vorlage[1].path(), 200, "7", 3000)};
    fassung[0].m_artikelListe = zustand({}, 300, "5", 900).m_artikelListe;
    Dateien site[2];
    for (int i : {0, 1}) {
        Erzeugen(fassung[i]);
        site[i] = Ordnerinhalt(vorlage[i] / "output");
        fassung[i].m_ordner = dir.path();
    }
    ASSERT_TRUE(fassung[0].DateienSchreiben().empty());
    const auto anfang = std::chrono::steady_clock::now();
    EXPECT_EQ(generieren(dir.path()), std::pair(0, "60 Indexseiten und 300 Artikel nach " +
                                                       (dir / "output").string() + " geschrieben\n"));
    const std::chrono::duration<double> dauer = std::chrono::steady_clock::now() - anfang;
    EXPECT_EQ(Ordnerinhalt(dir / "output"), site[0]);
    // Kills spread over one run's time and a little beyond.
    std::mt19937 zufall(std::random_device{}());
    std::uniform_real_distribution<double> wartezeit(0.001, dauer.count() * 1.5);
    int gesehen[2] = {0, 0};
    for (int k = 0; k < 16; ++k) {
        const int jetzt = Ordnerinhalt(dir / "output") == site[1];
        ASSERT_TRUE(fassung[1 - jetzt].DateienSchreiben().empty());
        Ausfuehren("timeout -s KILL " + std::to_string(wartezeit(zufall)) + " '" VELMARO_BINARY "' -C '" +
                   dir.path().string() + "' --generate >/dev/null 2>&1 </dev/null");
        const Dateien danach = Ordnerinhalt(dir / "output");
        ASSERT_TRUE(danach == site[0] || danach == site[1]) << "kill " << k;
        ++gesehen[danach != site[jetzt]];
    }
    // Kills landed both before and after the exchange.
    EXPECT_GT(gesehen[0], 0);
    EXPECT_GT(gesehen[1], 0);
}

} // namespace
