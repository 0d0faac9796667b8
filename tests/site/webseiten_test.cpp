// The pages in headless Chromium: the site's own news.php and data/artikel.php, served by php -S
// with what the program uploaded into data/; and the preview's links to its local pages.
#include "site/vorschau.h"

#include "../support/ftpserver.h"
#include "../support/kamerabild.h"
#include "../support/testdaten.h"
#include "../support/webseite.h"
#include "store/bildablage.h"
#include "store/zustand.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

bool hatLink(const Seite& s, const std::string& url) {
    return std::find(s.links.begin(), s.links.end(), url) != s.links.end();
}

} // namespace

TEST(Vorschau, LinksZeigenAufDieLokalenSeiten) {
    const std::pair<std::string, std::string> faelle[] = {
        {"<a href=news.php?sitename=data/inhalt12.php onmouseover=x>",
         "<a href=inhalt12.html onmouseover=x>"},
        {"<a href=data/artikel.php?sitename=artikel3.php>", "<a href=artikel3.html>"},
        // Links typed into an article body, quoted as HTML allows.
        {"<A HREF=\"news.php?sitename=data/inhalt2.php\">", "<A HREF=\"inhalt2.html\">"},
        {"<a href='data/artikel.php?sitename=artikel7.php'>", "<a href='artikel7.html'>"},
        // Anything else stays as it is.
        {"<a href=news.php?sitename=data/inhalt.php> <a href=news.php?sitename=data/inhalt2.phpx>", ""},
        {"<a href=\"data/artikel.php?sitename=artikel3.php'> <a href=http://www.dorvent.de>", ""},
    };
    for (const auto& [fragment, erwartet] : faelle)
        EXPECT_EQ(LinksUmschreiben(fragment), erwartet.empty() ? fragment : erwartet) << fragment;
}

// Seven articles at five per page, "Meldung 1" the newest, each with the body "Text von Meldung
// <i>", the first with a photo as a camera takes it; the headline colour #123456 and size 17 (no
// unit). Published by the program to the FTP server, whose folder php -S serves with the site's own
// pages.
TEST(Webseiten, SeitenUndBild) {
    TempDir ordner;
    FtpServer ftp;
    Chromium browser;
    const fs::path wurzel = ftp.wurzel();
    const auto velmaro = [&](const std::string& was) {
        return Ausfuehren("'" VELMARO_BINARY "' -C '" + ordner.path().string() + "' " + was);
    };
    writeFile(ordner / "foto.jpg", KameraJpeg(1600, 1200));
    std::string fehler;
    const std::string bild = BildAblegen(ordner / "foto.jpg", ordner / "data/bilder", fehler).value_or("");
    ASSERT_FALSE(bild.empty()) << fehler;
    VelmaroZustand z;
    z.m_ordner = ordner.path();
    z.m_artikelProSeite = "5";
    z.m_ftp = {"velmaro", ftp.adresse(), kFtpBenutzer, kFtpPasswort};
    for (int i = 1; i <= 7; ++i)
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 8 - i), "Meldung " + std::to_string(i),
                                  "Text von Meldung " + std::to_string(i) +
                                      (i == 1 ? " <img src=\"bilder/" + bild + "\" alt=\"Fest\">" : "")});
    z.m_style.overFarbe = "#123456";
    z.m_style.overGroesse = "17";
    ASSERT_TRUE(z.DateienSchreiben().empty());
    ASSERT_EQ(velmaro("--publish 2>&1").first, 0);
    const std::string vorschau = velmaro("--preview 2>/dev/null").second;
    fs::copy(fs::path(VELMARO_SOURCE_DIR) / "res/site", wurzel,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const PhpServer server(wurzel);

    // The first page links the second, the article and the feed; each leads where it says, the photo
    // shown upright. Which article lands on which page is the generator tests' business. Names the
    // pages do not know show the first page.
    std::vector<std::string> pfade = {"news.php", "news.php?sitename=data/inhalt2.php",
                                      "data/artikel.php?sitename=artikel1.php",
                                      "news.php?sitename[]=data/inhalt2.php"};
    for (const std::string& fremd : std::vector<std::string>{
             "../../../../etc/passwd", "/etc/passwd", "php://filter/resource=data/inhalt2.php",
             "data/inhalt2.php%00.txt", "data/inhalt2.php%0A", "data/../data/inhalt2.php", "inhalt2.php",
             "data/inhalt9.php", server.url("data/inhalt2.php")})
        pfade.push_back("news.php?sitename=" + fremd);
    for (const char* fremd : {"../news.php", "../../../../etc/passwd", "data/artikel6.php"})
        pfade.push_back("data/artikel.php?sitename=" + std::string(fremd));
    std::vector<std::string> urls;
    for (const std::string& p : pfade)
        urls.push_back(server.url(p));
    const std::vector<Seite> s = browser.laden(urls, wurzel, server.url(""));
    const std::string feed = server.url("data/feed.xml");
    EXPECT_TRUE(hatLink(s[0], server.url(pfade[1])) && hatLink(s[0], server.url(pfade[2])) &&
                hatLink(s[0], feed));
    EXPECT_NE(s[0].text.find("Meldung 1"), npos) << s[0].text;
    EXPECT_NE(s[1].text.find("Meldung 6"), npos) << s[1].text;
    EXPECT_NE(s[2].text.find("Text von Meldung 1"), npos) << s[2].text;
    EXPECT_TRUE(hatLink(s[2], server.url(pfade[1])) && hatLink(s[2], feed));
    // The headline as the style settings make it, the photo upright at 800 pixels wide.
    for (const Seite* seite : {&s[0], &s[2]}) {
        EXPECT_EQ(seite->ueberschriftStil, "rgb(18, 52, 86) 17px");
        EXPECT_EQ(seite->bilder, std::vector<std::string>{"800x1067"}) << seite->text;
    }
    for (std::size_t i = 3; i < pfade.size(); ++i) {
        SCOPED_TRACE(pfade[i]);
        EXPECT_NE(s[i].text.find("Meldung 5"), npos) << s[i].text;
        EXPECT_EQ(s[i].text.find("Meldung 6"), npos) << s[i].text;
        EXPECT_EQ(s[i].text.find("root:"), npos);
    }

    // The preview's first page, whose links the table above checks.
    EXPECT_EQ(vorschau, (ordner / "vorschau/inhalt1.html").string() + "\n");

    // The photo is sent once: the second upload finds it on the server as recorded. With its
    // article it goes from the server too.
    EXPECT_EQ(readFile(wurzel / "data/bilder" / bild), readFile(ordner / "output/bilder" / bild));
    const auto nochmal = velmaro("--publish 2>&1");
    EXPECT_NE(nochmal.second.find("0 von 0 Dateien gesendet, 13 waren"), npos) << nochmal.second;
    z.m_artikelListe.removeAt(z.m_artikelListe.head());
    ASSERT_TRUE(z.DateienSchreiben().empty());
    ASSERT_EQ(velmaro("--publish 2>&1").first, 0);
    EXPECT_FALSE(fs::exists(wurzel / "data/bilder" / bild));
}
