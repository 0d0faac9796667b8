// The site's own pages news.php and data/artikel.php, served by php -S with the fragments the
// program generated in data/, as headless Chromium shows them.
#include "../support/webseite.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmaro::test;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

struct Webseiten : ::testing::Test {
    TempDir ordner;
    fs::path wurzel;
    std::optional<PhpServer> server;
    Chromium browser;

    void SetUp() override {
        if (const std::string grund = Chromium::fehlt(); !grund.empty())
            GTEST_SKIP() << grund;
        BeispielsiteVorschau(ordner.path());
        // What the site owner puts on the server: the two pages, and the upload in data/.
        wurzel = ordner / "server";
        fs::copy(fs::path(VELMARO_SOURCE_DIR) / "res/site", wurzel, fs::copy_options::recursive);
        fs::copy(ordner / "output", wurzel / "data");
        server.emplace(wurzel);
    }

    std::vector<Seite> laden(const std::vector<std::string>& pfade) {
        std::vector<std::string> urls;
        for (const std::string& p : pfade)
            urls.push_back(server->url(p));
        return browser.laden(urls, wurzel, server->url(""));
    }
};

bool hatLink(const Seite& s, const std::string& url) {
    return std::find(s.links.begin(), s.links.end(), url) != s.links.end();
}

} // namespace

TEST_F(Webseiten, ErsteSeiteMenuUndArtikelMitStylesheet) {
    const Seite erste = laden({"news.php"}).at(0);
    EXPECT_NE(erste.text.find("Meldung 1"), npos) << erste.text;
    EXPECT_EQ(erste.text.find("Meldung 6"), npos) << erste.text;
    EXPECT_EQ(erste.ueberschriftStil, "rgb(18, 52, 86) 17px");
    const std::string seite2 = server->url("news.php?sitename=data/inhalt2.php");
    const std::string artikel1 = server->url("data/artikel.php?sitename=artikel1.php");
    ASSERT_TRUE(hatLink(erste, seite2));
    ASSERT_TRUE(hatLink(erste, artikel1));

    // The links as the browser resolved them lead where they say, the article's menu included.
    const std::vector<Seite> gefolgt =
        laden({seite2.substr(seite2.find("news.php")), "data/artikel.php?sitename=artikel1.php"});
    EXPECT_NE(gefolgt[0].text.find("Meldung 6"), npos) << gefolgt[0].text;
    EXPECT_EQ(gefolgt[0].text.find("Meldung 1"), npos) << gefolgt[0].text;
    EXPECT_NE(gefolgt[1].text.find("Text von Meldung 1"), npos) << gefolgt[1].text;
    EXPECT_EQ(gefolgt[1].ueberschriftStil, "rgb(18, 52, 86) 17px");
    EXPECT_TRUE(hatLink(gefolgt[1], seite2));

    const fs::path bilder = TestAusgabe("webseiten");
    browser.foto(server->url("news.php"), bilder / "news.png");
    browser.foto(seite2, bilder / "seite2.png");
    browser.foto(artikel1, bilder / "artikel1.png");
}

TEST_F(Webseiten, FremdeNamenZeigenDieErsteSeite) {
    const std::vector<std::string> versuche = {
        "news.php?sitename=../../../../etc/passwd",
        "news.php?sitename=/etc/passwd",
        "news.php?sitename=" + server->url("data/inhalt2.php"),
        "news.php?sitename=php://filter/resource=data/inhalt2.php",
        "news.php?sitename=data/inhalt2.php%00.txt",
        "news.php?sitename=data/inhalt2.php%0A",
        "news.php?sitename=data/../data/inhalt2.php",
        "news.php?sitename=inhalt2.php",
        "news.php?sitename=data/inhalt9.php",
        "news.php?sitename[]=data/inhalt2.php",
        "data/artikel.php?sitename=../news.php",
        "data/artikel.php?sitename=../../../../etc/passwd",
        "data/artikel.php?sitename=data/artikel6.php",
    };
    const std::vector<Seite> seiten = laden(versuche);
    for (std::size_t i = 0; i < versuche.size(); ++i) {
        SCOPED_TRACE(versuche[i]);
        EXPECT_NE(seiten[i].text.find("Meldung 5"), npos) << seiten[i].text;
        EXPECT_EQ(seiten[i].text.find("Meldung 6"), npos) << seiten[i].text;
        EXPECT_EQ(seiten[i].text.find("root:"), npos);
    }
}
