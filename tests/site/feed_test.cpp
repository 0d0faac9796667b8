// The news feed: output/feed.xml as Debian's feed parser reads it, its ids across an insertion, and
// the links of a body made absolute.
#include "site/generator.h"

#include "platform/cp1252.h"

#include "../support/kamerabild.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <iterator>
#include <sstream>

using namespace velmaro;
using namespace velmaro::test;

namespace {

using Zeilen = std::vector<std::string>;

// The lines tests/support/feedpruefen.py prints, and the words of its last line, the ids, apart.
std::pair<Zeilen, Zeilen> gelesen(const std::filesystem::path& feed) {
    const auto [status, aus] = Ausfuehren(
        "/usr/bin/python3 '" VELMARO_SOURCE_DIR "/tests/support/feedpruefen.py' '" + feed.string() + "'");
    EXPECT_EQ(status, 0) << aus;
    std::istringstream s(aus.substr(0, aus.rfind("\nids ") + 1)), ids(aus.substr(aus.rfind("\nids ") + 1));
    Zeilen zeilen;
    for (std::string zeile; std::getline(s, zeile);)
        zeilen.push_back(zeile);
    return {zeilen, Zeilen(std::istream_iterator<std::string>(ids), {})};
}

} // namespace

TEST(Feed, LinksImTextWerdenAbsolut) {
    const std::string basis = "https://www.example.de/verein/data/";
    const std::pair<std::string, std::string> faelle[] = {
        {"<IMG alt=x SRC='bilder/b.jpg'>",
         "<IMG alt=x SRC='https://www.example.de/verein/data/bilder/b.jpg'>"},
        {"<a href=artikel.php?sitename=artikel2.php>",
         "<a href=https://www.example.de/verein/data/artikel.php?sitename=artikel2.php>"},
        {"<a\r\nhref = \"../news.php\">", "<a\r\nhref = \"https://www.example.de/verein/data/../news.php\">"},
        {"<a href=\"/impressum.html\">", "<a href=\"https://www.example.de/impressum.html\">"},
        // Absolute, scheme-relative, in-page and non-web links stay.
        {"<a href=\"http://a.de/x\"><a href=//b.de/><a href=#oben><a href=\"mailto:a@b.de\">",
         "<a href=\"http://a.de/x\"><a href=//b.de/><a href=#oben><a href=\"mailto:a@b.de\">"},
        // Only attributes of tags: text and other attributes' values are not links.
        {"src=\"bilder/x\" <img title=\"a src=bilder/y > href=z\" data-src=\"bilder/z\"> a < b src=c",
         "src=\"bilder/x\" <img title=\"a src=bilder/y > href=z\" data-src=\"bilder/z\"> a < b src=c"},
        {"<img src=\"bilder/ohne Ende", "<img src=\"https://www.example.de/verein/data/bilder/ohne Ende"},
    };
    for (const auto& [html, erwartet] : faelle)
        EXPECT_EQ(LinksAbsolut(html, basis), erwartet) << html;
}

// 22 articles a month apart, newest first, in winter and summer time; two with the same date and
// headline; "&", "<", bytes above 127 and a control character in headlines and bodies. Written by
// the real program in German time.
TEST(Feed, FeedparserLiestDieNeuestenZwanzigUndIdsUeberlebenEinNeuesVorneweg) {
    TempDir dir;
    VelmaroZustand z;
    z.m_ordner = dir.path();
    z.m_artikelProSeite = "5";
    z.m_ftp = {"Vereins-News & <Neues> \xE4", "ftp://ftp.example.de", "ich", "pw",
               "https://www.example.de/verein"};
    std::vector<std::pair<int, int>> monate; // year, month
    for (int i = 0; i < 22; ++i)
        monate.push_back({2024 - i / 12, 12 - i % 12});
    monate[3] = monate[2];
    const auto ueberschrift = [](int i) {
        return "Meldung " + std::to_string(i == 4 ? 3 : i) + " & <Gr\xFC\xDF>";
    };
    for (int i = 1; i <= 22; ++i)
        z.m_artikelListe.addTail(
            {DateTime::fromParts(monate[i - 1].first, monate[i - 1].second, 15, 10, 30), ueberschrift(i),
             "<b>Text\x01</b> <img src=\"bilder/" + std::to_string(i) + ".png\"> & \x80\r\nmehr"});
    // The pictures the bodies name.
    for (int i = 0; i <= 23; ++i)
        writeFile(dir / "data/bilder" / (std::to_string(i) + ".png"),
                  Kodiert(QImage(1, 1, QImage::Format_RGB32), "png"));
    const auto erzeugen = [&] {
        ASSERT_TRUE(z.DateienSchreiben().empty());
        const auto [status, aus] = Ausfuehren("TZ=CET-1CEST,M3.5.0,M10.5.0/3 '" VELMARO_BINARY "' -C '" +
                                              dir.path().string() + "' --generate 2>&1");
        ASSERT_EQ(status, 0) << aus;
    };
    erzeugen();

    // The parser's view of the first 20.
    const auto sekunden = [](std::pair<int, int> m) {
        std::tm t{};
        t.tm_year = m.first - 1900, t.tm_mon = m.second - 1, t.tm_mday = 15, t.tm_hour = 10, t.tm_min = 30;
        return std::to_string(::timegm(&t) - (m.second >= 4 && m.second <= 10 ? 7200 : 3600));
    };
    Zeilen e = {"version atom10 bozo False",
                "feed Vereins-News & <Neues> ä " + sekunden(monate[0]) +
                    " https://www.example.de/verein/news.php?sitename=data/inhalt1.php"};
    for (int i = 1; i <= 20; ++i)
        e.push_back(cp1252::toUtf8(ueberschrift(i)) +
                    "\thttps://www.example.de/verein/data/artikel.php?sitename=artikel" + std::to_string(i) +
                    ".php\t" + sekunden(monate[i - 1]) +
                    "\ttext/html\t<b>Text</b> <img src=\"https://www.example.de/verein/data/bilder/" +
                    std::to_string(i) + ".png\"> & €\\nmehr");
    auto [zeilen, ids] = gelesen(dir / "output/feed.xml");
    EXPECT_EQ(zeilen, e);
    ASSERT_EQ(ids.size(), 22u) << "ids not unique"; // "ids", the feed's, 20 entries'

    // A newer article: every other keeps its id although its number moves on by one.
    z.m_artikelListe.insertBefore(z.m_artikelListe.head(),
                                  {DateTime::fromParts(2025, 1, 15, 10, 30), "Meldung 0", "Neu"});
    erzeugen();
    Zeilen neueIds = gelesen(dir / "output/feed.xml").second;
    ASSERT_EQ(neueIds.size(), 22u);
    neueIds.erase(neueIds.begin() + 2), ids.pop_back();
    EXPECT_EQ(neueIds, ids);
}
