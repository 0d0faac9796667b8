// "Update Website" on real files: which files, what they hold, the counters and the failures; and
// velmaro -C DIR --generate, run as the real program, writing the same.
#include "site/generator.h"

#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <map>
#include <numeric>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

using Dateien = std::map<std::string, std::string>;

Dateien dateien(const fs::path& ordner) {
    Dateien m;
    for (const auto& e : fs::directory_iterator(ordner))
        if (e.is_regular_file())
            m[e.path().filename().string()] = readFile(e.path());
    return m;
}

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
    for (const auto& [name, bytes] : dateien(ordner)) {
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
    const struct {
        int artikel;
        std::string proSeite;
        std::vector<std::string> gesperrt; // names taken by folders, so that they cannot be created
        std::vector<int> seiten;           // rows per index page written
    } faelle[] = {
        {7, "5", {}, {5, 2}},
        {0, "5", {}, {0}},
        {5, "5", {}, {5}},
        {6, "5", {}, {5, 1}},
        {12, "", {}, {0, 12}},
        {400, "-1", {}, {400}}, // beyond the writer's buffer
        // A later index page that cannot be created ends the pages; the rest stays whole.
        {13, "5", {"inhalt3.php"}, {5, 5}},
        {3, "5", {"inhalt1.php"}, {}},
        {3, "5", {"artikel2.php"}, {3}},
        {6, "5", {"style.css", "inhalt0.php"}, {5, 1}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.artikel << " articles, per page '" << f.proSeite << "'");
        TempDir dir;
        VelmaroZustand z = zustand(dir.path(), f.artikel, f.proSeite);
        for (const auto& name : f.gesperrt)
            fs::create_directories(dir / "output" / name);
        auto soll = erwartet(f.seiten);
        for (const auto& name : f.gesperrt)
            soll.erase(name);

        // Without blocked names output/ is missing and must be created. A second run gives the same bytes.
        for (int lauf = 0; lauf < 2; ++lauf) {
            int meldungen = 0;
            const GeneratorErgebnis e = Erzeugen(z, [&] { ++meldungen; });
            EXPECT_EQ(vorgefunden(dir / "output"), soll);
            EXPECT_EQ(meldungen, f.seiten.empty() ? 0 : 1);
            EXPECT_EQ(e.anzahlSeiten, std::max<int>(1, static_cast<int>(f.seiten.size())));
            EXPECT_EQ(e.anzahlArtikel, std::accumulate(f.seiten.begin(), f.seiten.end(), 0));
            EXPECT_EQ(e.fehlendeDateien, f.gesperrt);
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
    if (!z.DateienSchreiben().empty())
        throw std::runtime_error("cannot prepare data/");
    return z;
}

TEST(Generate, WritesWhatUpdateWebsiteWrites) {
    TempDir arbeit, fenster;
    VelmaroZustand z = datenAnlegen(arbeit.path());
    const std::string daten = readFile(arbeit / "data/daten.bit");
    const auto [status, aus] = generieren(arbeit.path());
    EXPECT_EQ(status, 0) << aus;
    EXPECT_EQ(aus, "2 Indexseiten und 7 Artikel nach " + (arbeit / "output").string() + " geschrieben\n");
    EXPECT_EQ(readFile(arbeit / "data/daten.bit"), daten);
    // What "Update Website" writes from the same articles and settings, as the window holds them after
    // reading the files.
    z.m_ordner = fenster.path();
    Erzeugen(z);
    EXPECT_EQ(dateien(arbeit / "output"), dateien(fenster / "output"));
}

TEST(Generate, FolderWithoutDataOrWithADamagedFileWritesNothing) {
    TempDir leer;
    const auto [ohneStatus, ohneAus] = generieren(leer.path());
    EXPECT_EQ(ohneStatus, 1);
    EXPECT_NE(ohneAus.find("kein Ordner data/"), std::string::npos) << ohneAus;
    EXPECT_FALSE(fs::exists(leer / "output"));

    // Cut short, a flipped record marker, a FIFO, a folder.
    for (const auto& [name, art, meldung] : {std::tuple{"data/daten.bit", 0, " ist beschädigt"},
                                             {"data/styleconfig.bit", 0, " ist beschädigt"},
                                             {"data/daten.bit", 1, " ist beschädigt"},
                                             {"data/daten.bit", 2, " kann nicht gelesen werden"},
                                             {"data/styleconfig.bit", 3, " kann nicht gelesen werden"}}) {
        SCOPED_TRACE(testing::Message() << name << " " << art);
        TempDir arbeit;
        datenAnlegen(arbeit.path());
        std::string bytes = readFile(arbeit / name);
        fs::remove(arbeit / name);
        if (art == 0)
            bytes.resize(bytes.size() - 10);
        if (art == 1)
            bytes[bytes.rfind("ARTIKEL") + 6] = 'X';
        if (art < 2)
            writeFile(arbeit / name, bytes);
        else if (art == 2)
            ASSERT_EQ(::mkfifo((arbeit / name).c_str(), 0644), 0);
        else
            fs::create_directories(arbeit / name);
        const auto [status, aus] = generieren(arbeit.path());
        EXPECT_EQ(status, 1);
        EXPECT_NE(aus.find(name + std::string(meldung)), std::string::npos) << aus;
        EXPECT_EQ(aus.find("geschrieben\n"), std::string::npos) << aus;
        EXPECT_FALSE(fs::exists(arbeit / "output"));
        EXPECT_TRUE(art >= 2 || readFile(arbeit / name) == bytes);
    }
}

// Each page replaces its old file only when whole: a link at a page's name is replaced, never
// followed, and a run that cannot write everything (a full disk) leaves every earlier page whole.
TEST(Website, PagesReplaceLinksAndSurviveAFullDisk) {
    TempDir dir, draussen;
    VelmaroZustand z = zustand(dir.path(), 7, "5");
    fs::create_directories(dir / "output");
    writeFile(draussen / "fremd.css", "fremd");
    fs::create_symlink(draussen / "fremd.css", dir / "output/style.css");
    fs::create_symlink(draussen / "nirgends.php", dir / "output/inhalt0.php");
    EXPECT_TRUE(Erzeugen(z).fehlendeDateien.empty());
    EXPECT_EQ(readFile(draussen / "fremd.css"), "fremd");
    EXPECT_FALSE(fs::exists(draussen / "nirgends.php"));
    EXPECT_FALSE(fs::is_symlink(dir / "output/style.css"));
    const Dateien alt = dateien(dir / "output");

    // Longer bodies, written where no file may grow beyond 1,500 bytes: the first index page and
    // two article pages do not fit.
    TempDir frisch;
    VelmaroZustand laenger = zustand(frisch.path(), 7, "5", 800);
    Erzeugen(laenger);
    const Dateien neu = dateien(frisch / "output");
    laenger.m_ordner = dir.path();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit vorher{};
    ::getrlimit(RLIMIT_FSIZE, &vorher);
    rlimit grenze{1500, vorher.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &grenze);
    GeneratorErgebnis e = Erzeugen(laenger);
    ::setrlimit(RLIMIT_FSIZE, &vorher);

    std::vector<std::string> fehlen;
    for (const auto& [name, bytes] : dateien(dir / "output")) {
        if (bytes == neu.at(name))
            continue;
        EXPECT_EQ(bytes, alt.at(name)) << name;
        fehlen.push_back(name);
    }
    EXPECT_FALSE(fehlen.empty());
    std::sort(e.fehlendeDateien.begin(), e.fehlendeDateien.end());
    EXPECT_EQ(e.fehlendeDateien, fehlen);
}

} // namespace
