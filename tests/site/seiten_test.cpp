#include "site/generator.h"

#include <gtest/gtest.h>

using namespace velmaro;

namespace {

Artikel artikel(const std::string& ueberschrift, const std::string& text,
                DateTime datum = DateTime::fromParts(2003, 12, 24, 18, 30)) {
    return Artikel{datum, ueberschrift, text};
}

std::string zeile(const Artikel& a, const std::string& name) {
    std::string out;
    VorschauZeileAnhaengen(out, a, name);
    return out;
}

std::string seite(const Artikel& a) {
    std::string out;
    ArtikelSeiteAnhaengen(out, a);
    return out;
}

// The row with the fixed texts around a preview, for rows whose other pieces the test does not vary.
std::string zeileMitVorschau(const std::string& vorschau) {
    return "<tr><td class=datum><font class=datum_text>24.12.2003</font></td> <td class=over><font "
           "class=over_text>H</font></td></tr><tr><td class=text colspan=2><font class=text_text>" +
           vorschau +
           ".....<br>....</font><a href=data/artikel.php?sitename=artikel1.php "
           "onmouseover=\"status='Zum Artikelinhalt';return true\" onmouseout=\"status='';return "
           "true\"><b>zum Inhalt</b></a></td></tr>";
}

TEST(IndexSeite, PreviewRowExactText) {
    const Artikel a = artikel("Neue Preise", "Ab <b>sofort</b> & billiger.\r\nMehr.");
    EXPECT_EQ(
        zeile(a, "artikel3.php"),
        "<tr><td class=datum><font class=datum_text>24.12.2003</font></td> <td class=over><font "
        "class=over_text>Neue Preise</font></td></tr><tr><td class=text colspan=2><font "
        "class=text_text>Ab <b>sofort</b> & billiger.\r\nMehr......<br>....</font><a "
        "href=data/artikel.php?sitename=artikel3.php onmouseover=\"status='Zum Artikelinhalt';return true\" "
        "onmouseout=\"status='';return true\"><b>zum Inhalt</b></a></td></tr>");
}

TEST(IndexSeite, FixedPiecesOfARowAreThreeHundredThirtyFiveBytes) {
    EXPECT_EQ(zeile(artikel("", ""), "").size(), 345u);
    EXPECT_EQ(zeile(artikel("Kopf", "Rumpf"), "artikel12.php").size(), 345u + 4 + 5 + 13);
}

TEST(IndexSeite, PreviewIsTheFirstTwoHundredBytes) {
    const std::string zweihundert = std::string(190, 'a') + "<b>fett</b";
    ASSERT_EQ(zweihundert.size(), 200u);
    EXPECT_EQ(zeile(artikel("H", zweihundert), "artikel1.php"), zeileMitVorschau(zweihundert));
    // One more byte is cut off, even inside a tag; the continuation follows either way.
    EXPECT_EQ(zeile(artikel("H", zweihundert + ">"), "artikel1.php"), zeileMitVorschau(zweihundert));
    EXPECT_EQ(zeile(artikel("H", ""), "artikel1.php"), zeileMitVorschau(""));
    // A CR LF pair across the cut is split.
    const std::string crlf = std::string(199, 'x') + "\r\nweiter";
    EXPECT_EQ(zeile(artikel("H", crlf), "artikel1.php"), zeileMitVorschau(std::string(199, 'x') + "\r"));
}

TEST(ArtikelSeite, ExactTextWithFooter) {
    const Artikel a = artikel("Neue Preise", "Ab <b>sofort</b> & billiger.");
    EXPECT_EQ(seite(a),
              "<table class=newstable><tr><td class=datum><font class=datum_text>24.12.2003</font></td>"
              "<td class=over><font class=over_text>Neue Preise</font></td></tr><tr><td class=text "
              "colspan=2><font class=text_text>Ab <b>sofort</b> & billiger.</font></td></tr><td "
              "class=textinhalt colspan=2><div align=center><font face=Arial size=1 >Diese "
              "Internetseite wird mit einem Content Management System vom<a href=" +
                  std::string(kVerlagsAdresse) +
                  " onmouseover=\"status='Zum Dorvent';return true\" onmouseout=\"status='';return "
                  "true\"> Dorvent</a> aktualisiert</font></div></table>");
}

TEST(ArtikelSeite, HoldsTheWholeBody) {
    const std::string lang = std::string(5000, 'q') + "ende";
    const std::string s = seite(artikel("H", lang));
    EXPECT_NE(s.find("text_text>" + lang + "</font>"), std::string::npos);
}

TEST(Texte, HtmlAndHighBytesPassUnchanged) {
    const std::string kopf = "Preise <&> \xE4\xF6\xFC\xDF \x80\xFF";
    const std::string text = "a<b&c \"d\" \xE9\r\n&amp; \x85";
    const Artikel a = artikel(kopf, text);
    EXPECT_NE(zeile(a, "artikel1.php").find("over_text>" + kopf + "</font>"), std::string::npos);
    EXPECT_NE(zeile(a, "artikel1.php").find("text_text>" + text + ".....<br>"), std::string::npos);
    EXPECT_NE(seite(a).find("over_text>" + kopf + "</font>"), std::string::npos);
    EXPECT_NE(seite(a).find("text_text>" + text + "</font>"), std::string::npos);
}

TEST(Menu, EmptyBelowTwoPages) {
    EXPECT_EQ(MenuText(0), "");
    EXPECT_EQ(MenuText(1), "");
}

TEST(Menu, LinksOfOneHundredSixtyBytes) {
    const std::string link1 =
        "<a href=news.php?sitename=data/inhalt1.php onmouseover=\"status='Seitenwechsel';return "
        "true\" onmouseout=\"status='';return true\" class=out><b> | Seite 1 |</b></a>";
    const std::string link2 =
        "<a href=news.php?sitename=data/inhalt2.php onmouseover=\"status='Seitenwechsel';return "
        "true\" onmouseout=\"status='';return true\" class=out><b> | Seite 2 |</b></a>";
    ASSERT_EQ(link1.size(), 160u);
    ASSERT_EQ(link2.size(), 160u);
    EXPECT_EQ(MenuText(2), "<table class=inhaltsverzeichnis><tr><td>" + link1 + link2);
}

TEST(Menu, TwoDigitPagesAreLonger) {
    const std::string m = MenuText(10);
    EXPECT_EQ(m.size(), 40u + 9 * 160 + 162);
    EXPECT_EQ(m.substr(40 + 9 * 160),
              "<a href=news.php?sitename=data/inhalt10.php onmouseover=\"status='Seitenwechsel';"
              "return true\" onmouseout=\"status='';return true\" class=out><b> | Seite 10 "
              "|</b></a>");
}

} // namespace
