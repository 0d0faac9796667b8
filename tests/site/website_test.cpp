// "Update Website" on real files: which files, what they hold, the counters and the failures.
#include "site/generator.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct Website : ::testing::Test {
    TempDir dir;
    VelmaroZustand z;

    Website() {
        z.m_ordner = dir.path();
        z.m_marker = {"ARTIKEL", "ENDE"};
        z.m_artikelProSeite = "5";
        fs::create_directory(dir / "output");
    }

    // n articles, newest first, the i-th (from 1) with headline "Artikel i".
    void artikelAnlegen(int n) {
        for (int i = 1; i <= n; ++i) {
            DateTime datum = DateTime::fromParts(2003, 12, 31, 10);
            datum.value -= i;
            z.m_artikelListe.addTail(Artikel{datum, "Artikel " + std::to_string(i),
                                             "Text von Artikel " + std::to_string(i) + "\r\nzweite Zeile"});
        }
    }
    const Artikel& nr(int i) const { return *std::next(z.m_artikelListe.begin(), i - 1); }

    std::string zeilen(int von, int bis) const {
        std::string s;
        for (int i = von; i <= bis; ++i)
            VorschauZeileAnhaengen(s, nr(i), ArtikelName(i));
        return s;
    }
    std::string index(int von, int bis) const {
        return std::string(kIndexAnfang) + zeilen(von, bis) + std::string(kIndexEnde);
    }
    std::string lesen(const std::string& name) const { return readFile(dir / ("output/" + name)); }
    bool gibt(const std::string& name) const { return fs::exists(dir / ("output/" + name)); }
    std::map<std::string, std::string> alleDateien() const {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(dir / "output"))
            if (e.is_regular_file())
                m[e.path().filename().string()] = readFile(e.path());
        return m;
    }
};

TEST_F(Website, SevenArticlesAtFivePerPage) {
    artikelAnlegen(7);
    int meldungen = 0;
    WebsiteErzeugen(z, [&] {
        ++meldungen;
        // Reported once the first index page exists, before any article page.
        EXPECT_TRUE(gibt("inhalt1.php"));
        EXPECT_FALSE(gibt("artikel1.php"));
    });
    EXPECT_EQ(meldungen, 1);
    EXPECT_EQ(z.m_anzahlSeiten, 2);
    EXPECT_EQ(z.m_anzahlArtikel, 7);
    EXPECT_TRUE(z.m_fehlendeDateien.empty());

    EXPECT_EQ(lesen("style.css"), StylesheetText(z));
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 5));
    EXPECT_EQ(lesen("inhalt2.php"), index(6, 7));
    for (int i = 1; i <= 7; ++i) {
        std::string seite;
        ArtikelSeiteAnhaengen(seite, nr(i));
        EXPECT_EQ(lesen(ArtikelName(i)), seite) << i;
    }
    // Rows follow list order and article numbers run on across pages.
    const std::string zweite = lesen("inhalt2.php");
    EXPECT_LT(zweite.find("over_text>Artikel 6<"), zweite.find("over_text>Artikel 7<"));
    EXPECT_NE(zweite.find("sitename=artikel6.php "), std::string::npos);
    EXPECT_NE(lesen("artikel7.php").find("over_text>Artikel 7<"), std::string::npos);

    const std::string menu = lesen("inhalt0.php");
    ASSERT_EQ(menu.size(), 40u + 2 * 160);
    EXPECT_EQ(menu, MenuText(2));
    EXPECT_NE(menu.find("sitename=data/inhalt1.php "), std::string::npos);
    EXPECT_NE(menu.find("sitename=data/inhalt2.php "), std::string::npos);

    EXPECT_EQ(alleDateien().size(), 1u + 2 + 7 + 1);
}

TEST_F(Website, EmptyList) {
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt1.php"), "<table class=newstable></table>");
    EXPECT_EQ(lesen("inhalt1.php").size(), 31u);
    EXPECT_EQ(lesen("inhalt0.php"), "");
    EXPECT_EQ(lesen("style.css").size(), 407u);
    EXPECT_EQ(z.m_anzahlSeiten, 1);
    EXPECT_EQ(z.m_anzahlArtikel, 0);
    EXPECT_EQ(alleDateien().size(), 3u);
}

TEST_F(Website, ExactlyOnePageFull) {
    artikelAnlegen(5);
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 5));
    EXPECT_FALSE(gibt("inhalt2.php"));
    EXPECT_EQ(lesen("inhalt0.php"), "");
    EXPECT_EQ(z.m_anzahlSeiten, 1);
    EXPECT_EQ(z.m_anzahlArtikel, 5);
}

TEST_F(Website, OneArticleMoreOpensASecondPage) {
    artikelAnlegen(6);
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 5));
    EXPECT_EQ(lesen("inhalt2.php"), index(6, 6));
    EXPECT_EQ(lesen("inhalt0.php"), MenuText(2));
    EXPECT_EQ(z.m_anzahlSeiten, 2);
    EXPECT_EQ(z.m_anzahlArtikel, 6);
}

TEST_F(Website, EmptyPerPageValuePutsEveryRowOnPageTwo) {
    artikelAnlegen(12);
    z.m_artikelProSeite.clear();
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt1.php"), "<table class=newstable></table>");
    EXPECT_EQ(lesen("inhalt2.php"), index(1, 12));
    EXPECT_FALSE(gibt("inhalt3.php"));
    EXPECT_EQ(lesen("inhalt0.php"), MenuText(2));
    EXPECT_EQ(z.m_anzahlSeiten, 2);
    EXPECT_EQ(z.m_anzahlArtikel, 12);
}

TEST_F(Website, TwoRunsWriteIdenticalFiles) {
    artikelAnlegen(11);
    z.m_einstellungen[13] = "Verdana";
    z.m_overBold = 1;
    WebsiteErzeugen(z);
    const auto erste = alleDateien();
    WebsiteErzeugen(z);
    EXPECT_EQ(alleDateien(), erste);
    EXPECT_EQ(z.m_anzahlSeiten, 3);
    EXPECT_EQ(z.m_anzahlArtikel, 11);
}

TEST_F(Website, FilesOfALongerEarlierRunStay) {
    artikelAnlegen(11);
    WebsiteErzeugen(z);
    const std::string alteDritte = lesen("inhalt3.php");
    z.m_artikelListe.clear();
    artikelAnlegen(4);
    WebsiteErzeugen(z);
    EXPECT_EQ(z.m_anzahlSeiten, 1);
    EXPECT_EQ(lesen("inhalt3.php"), alteDritte);
    EXPECT_TRUE(gibt("artikel11.php"));
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 4));
}

TEST_F(Website, MissingOutputFolderIsCreated) {
    fs::remove(dir / "output");
    artikelAnlegen(2);
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 2));
    EXPECT_TRUE(gibt("style.css"));
    EXPECT_TRUE(gibt("artikel2.php"));
    EXPECT_TRUE(z.m_fehlendeDateien.empty());
}

TEST_F(Website, LaterIndexPageThatCannotBeCreatedEndsThePages) {
    artikelAnlegen(13);
    fs::create_directory(dir / "output/inhalt3.php");
    WebsiteErzeugen(z);
    // What was written stays whole, and the counters match it.
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 5));
    EXPECT_EQ(lesen("inhalt2.php"), index(6, 10));
    EXPECT_TRUE(gibt("artikel10.php"));
    EXPECT_FALSE(gibt("artikel11.php"));
    EXPECT_FALSE(gibt("inhalt4.php"));
    EXPECT_EQ(z.m_anzahlSeiten, 2);
    EXPECT_EQ(z.m_anzahlArtikel, 10);
    EXPECT_EQ(lesen("inhalt0.php"), MenuText(2));
    EXPECT_EQ(z.m_fehlendeDateien, std::vector<std::string>{"inhalt3.php"});
}

TEST_F(Website, FirstIndexPageThatCannotBeCreated) {
    artikelAnlegen(3);
    fs::create_directory(dir / "output/inhalt1.php");
    int meldungen = 0;
    WebsiteErzeugen(z, [&] { ++meldungen; });
    EXPECT_EQ(meldungen, 0);
    EXPECT_EQ(z.m_anzahlSeiten, 1);
    EXPECT_EQ(z.m_anzahlArtikel, 0);
    EXPECT_FALSE(gibt("artikel1.php"));
    EXPECT_TRUE(gibt("style.css"));
    EXPECT_EQ(lesen("inhalt0.php"), "");
    EXPECT_EQ(z.m_fehlendeDateien, std::vector<std::string>{"inhalt1.php"});
}

TEST_F(Website, ArticlePageThatCannotBeCreatedKeepsItsRow) {
    artikelAnlegen(3);
    fs::create_directory(dir / "output/artikel2.php");
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 3));
    EXPECT_TRUE(gibt("artikel3.php"));
    EXPECT_EQ(z.m_anzahlArtikel, 3);
    EXPECT_EQ(z.m_fehlendeDateien, std::vector<std::string>{"artikel2.php"});
}

TEST_F(Website, StylesheetAndMenuThatCannotBeCreatedAreSkipped) {
    artikelAnlegen(6);
    fs::create_directory(dir / "output/style.css");
    fs::create_directory(dir / "output/inhalt0.php");
    WebsiteErzeugen(z);
    EXPECT_EQ(lesen("inhalt2.php"), index(6, 6));
    EXPECT_EQ(z.m_anzahlSeiten, 2);
    EXPECT_EQ(z.m_fehlendeDateien, (std::vector<std::string>{"style.css", "inhalt0.php"}));
}

TEST_F(Website, LargeIndexPageIsWrittenWhole) {
    // Rows are short, so many are needed to go past the writer's buffer; a negative per-page value
    // never fills a page.
    z.m_artikelProSeite = "-1";
    artikelAnlegen(400);
    WebsiteErzeugen(z);
    EXPECT_EQ(z.m_anzahlSeiten, 1);
    EXPECT_EQ(lesen("inhalt1.php"), index(1, 400));
}

} // namespace
