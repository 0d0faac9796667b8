// The preview: the links rewritten to local pages, and the pages of velmaro --preview in headless
// Chromium.
#include "site/vorschau.h"

#include "../support/webseite.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

TEST(Vorschau, LinksZeigenAufDieLokalenSeiten) {
    const std::pair<std::string, std::string> faelle[] = {
        {"<a href=news.php?sitename=data/inhalt12.php onmouseover=x>",
         "<a href=inhalt12.html onmouseover=x>"},
        {"<a href=data/artikel.php?sitename=artikel3.php>", "<a href=artikel3.html>"},
        // Links typed into an article body, quoted as HTML allows.
        {"<A HREF=\"news.php?sitename=data/inhalt2.php\">", "<A HREF=\"inhalt2.html\">"},
        {"<a href='data/artikel.php?sitename=artikel7.php'>", "<a href='artikel7.html'>"},
        // Anything else stays as it is.
        {"<a href=news.php?sitename=data/inhalt.php>", "<a href=news.php?sitename=data/inhalt.php>"},
        {"<a href=news.php?sitename=data/inhalt2.phpx>", "<a href=news.php?sitename=data/inhalt2.phpx>"},
        {"<a href=\"data/artikel.php?sitename=artikel3.php'>",
         "<a href=\"data/artikel.php?sitename=artikel3.php'>"},
        {"<a href=http://www.dorvent.de>", "<a href=http://www.dorvent.de>"},
        {"href=", "href="},
        {"Text \xE4 ohne Link", "Text \xE4 ohne Link"},
    };
    for (const auto& [fragment, erwartet] : faelle)
        EXPECT_EQ(LinksUmschreiben(fragment), erwartet) << fragment;
}

TEST(Vorschau, ImBrowserMitStylesheetUndNurLokalenLinks) {
    if (const std::string grund = Chromium::fehlt(); !grund.empty())
        GTEST_SKIP() << grund;
    TempDir ordner;
    const std::string ausgabe = BeispielsiteVorschau(ordner.path());
    const fs::path vorschau = ordner / "vorschau";
    EXPECT_EQ(ausgabe, (vorschau / "inhalt1.html").string() + "\n");

    std::vector<std::string> urls;
    for (const auto& eintrag : fs::directory_iterator(vorschau))
        if (eintrag.path().extension() == ".html")
            urls.push_back("file://" + eintrag.path().string());
    std::sort(urls.begin(), urls.end());
    ASSERT_EQ(urls.size(), 9u); // artikel1-7, inhalt1-2
    Chromium browser;
    const std::vector<Seite> seiten =
        browser.laden(urls, ordner.path(), "file://" + ordner.path().string() + "/");

    const Seite& erste = seiten.at(7);
    EXPECT_NE(erste.text.find("Meldung 1"), npos) << erste.text;
    EXPECT_EQ(erste.ueberschriftStil, "rgb(18, 52, 86) 17px");
    for (std::size_t i = 0; i < seiten.size(); ++i) {
        SCOPED_TRACE(urls[i]);
        EXPECT_FALSE(seiten[i].text.empty());
        EXPECT_FALSE(seiten[i].links.empty());
        for (const std::string& link : seiten[i].links) {
            // The publisher's address in every article footer is the one link off the site.
            if (link == "http://www.dorvent.de/")
                continue;
            ASSERT_TRUE(link.starts_with("file://")) << link;
            EXPECT_TRUE(fs::is_regular_file(link.substr(7))) << link;
        }
    }
    browser.foto(urls.at(7), TestAusgabe("vorschau") / "inhalt1.png");
}
