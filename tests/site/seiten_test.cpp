// The generator's texts byte for byte. The property order of style.css and the places of its four
// flags are the file's format. Texts go in unchanged, as articles may hold HTML on purpose, but for
// "<?", which the server would run as PHP; a picture's src gains its folder, and a preview's cut
// moves back before a tag.
#include "site/bilder.h"
#include "site/generator.h"

#include <gtest/gtest.h>

using namespace velmaro;

namespace {

const std::string kKopf = "Preise <&> \xE4\xF6\xFC\xDF \x80\xFF";
const std::string kText = "Ab <b>sofort</b> & billiger \xE9\r\n&amp; \x85";

std::string zeile(const std::string& text) {
    std::string out;
    VorschauZeileAnhaengen(out, {DateTime::fromParts(2003, 12, 24, 18, 30), kKopf, text}, "artikel3.php");
    return out;
}

TEST(Seiten, IndexRow) {
    EXPECT_EQ(zeile(kText),
              "<tr><td class=datum><font class=datum_text>24.12.2003</font></td> <td class=over><font "
              "class=over_text>" +
                  kKopf + "</font></td></tr><tr><td class=text colspan=2><font class=text_text>" + kText +
                  ".....<br>....</font><a href=data/artikel.php?sitename=artikel3.php "
                  "onmouseover=\"status='Zum Artikelinhalt';return true\" onmouseout=\"status='';return "
                  "true\"><b>zum Inhalt</b></a></td></tr>");
}

TEST(Seiten, PreviewCutNeverSplitsATag) {
    const std::string x(180, 'x');
    const std::pair<std::string, std::string> faelle[] = {
        // A cut in plain text is blind, here the LF of a CR LF pair.
        {std::string(199, 'x') + "\r\n", std::string(199, 'x') + "\r"},
        {x + "<b>1</b>" + std::string(40, 'y'), x + "<b>1</b>" + std::string(12, 'y')},
        // Inside a tag name, an attribute, an entity or a comment: back before it.
        {x + "<a href=\"data/artikel.php?sitename=artikel2.php\">mehr</a>", x},
        {x + std::string(18, 'x') + "&amp;", x + std::string(18, 'x')},
        {x + "<!-- <b> -->" + std::string(40, 'y'), x + "<!-- <b> -->" + std::string(8, 'y')},
        {x + "12345<!-- Anmerkung -->", x + "12345"},
        {x + "<a href='a>b'" + std::string(40, 'y'), x},
        // Tags left open are closed after the cut, innermost first; void elements need no end tag.
        {x + "<a href=x><B>" + std::string(40, 'y'), x + "<a href=x><B>" + std::string(7, 'y') + "</b></a>"},
        {x + "<br><img src=a.png>" + std::string(40, 'y'), x + "<br><img src=a.png>y"},
        // "<" and "&" that start no tag or entity are text.
        {x + "a < b & c" + std::string(40, 'y'), x + "a < b & c" + std::string(11, 'y')},
    };
    for (const auto& [body, vorschau] : faelle) {
        EXPECT_EQ(VorschauText(body, kVorschauLaenge), vorschau) << body;
        EXPECT_NE(zeile(body).find("text_text>" + vorschau + ".....<br>"), std::string::npos) << body;
    }
    // A body of at most 200 bytes is the preview, also with a tag left open.
    EXPECT_EQ(VorschauText("<b>kurz", kVorschauLaenge), "<b>kurz");
}

// Bodies go in as typed on the index and the article page, but a picture's src gains its folder and
// "<?" is no code for the server.
TEST(Seiten, PicturesFromTheDataFolderAndNoCodeForTheServer) {
    const std::pair<std::string, std::string> faelle[] = {
        {"<img src=\"bilder/a1.jpg\" alt=\"A\">", "<img src=\"data/bilder/a1.jpg\" alt=\"A\">"},
        {"<IMG alt='x > y' SRC=bilder/b.png>", "<IMG alt='x > y' SRC=data/bilder/b.png>"},
        // Other sources, and "bilder/" anywhere but in a picture's src, stay as typed.
        {"<img src=\"http://x/bilder/a.jpg\"> bilder/a.jpg <a href=bilder/a.jpg>", ""},
        {"<img data-src=bilder/a.jpg><imgx src=bilder/a.jpg>", ""},
        {"<?xml version=\"1.0\"?><?=1?><?", "&lt;?xml version=\"1.0\"?>&lt;?=1?>&lt;?"},
        {"<<?? < ?", "<&lt;?? < ?"},
    };
    for (const auto& [body, erwartet] : faelle) {
        const std::string seite = erwartet.empty() ? body : erwartet;
        EXPECT_NE(zeile(body).find("text_text>" + seite + ".....<br>"), std::string::npos) << body;
        std::string artikel;
        ArtikelSeiteAnhaengen(artikel, {DateTime::fromParts(2003, 12, 24), kKopf, body});
        EXPECT_NE(artikel.find("text_text>" + seite + "</font>"), std::string::npos) << body;
    }
    std::string kopf;
    ArtikelSeiteAnhaengen(kopf, {DateTime::fromParts(2003, 12, 24), "<?php", ""});
    EXPECT_NE(kopf.find("over_text>&lt;?php</font>"), std::string::npos) << kopf;
    // The preview's cut moves back before a "<" it would split.
    EXPECT_NE(zeile(std::string(199, 'x') + "<?php").find("x.....<br>"), std::string::npos);
}

TEST(Seiten, ArticlePageHoldsTheWholeBody) {
    const std::string lang = kText + std::string(300, 'q');
    std::string seite;
    ArtikelSeiteAnhaengen(seite, {DateTime::fromParts(2003, 12, 24, 18, 30), kKopf, lang});
    EXPECT_EQ(seite,
              "<table class=newstable><tr><td class=datum><font class=datum_text>24.12.2003</font></td>"
              "<td class=over><font class=over_text>" +
                  kKopf + "</font></td></tr><tr><td class=text colspan=2><font class=text_text>" + lang +
                  "</font></td></tr><td class=textinhalt colspan=2><div align=center><font face=Arial "
                  "size=1 >Diese Internetseite wird mit einem Content Management System vom<a "
                  "href=http://www.dorvent.de onmouseover=\"status='Zum Dorvent';return true\" "
                  "onmouseout=\"status='';return true\"> Dorvent</a> aktualisiert</font></div></table>");
}

TEST(Seiten, MenuOfOneHundredSixtyByteLinks) {
    const auto link = [](const std::string& k) {
        return "<a href=news.php?sitename=data/inhalt" + k +
               ".php onmouseover=\"status='Seitenwechsel';return true\" onmouseout=\"status='';return true\" "
               "class=out><b> | Seite " +
               k + " |</b></a>";
    };
    EXPECT_EQ(MenuText(0) + MenuText(1), "");
    EXPECT_EQ(MenuText(2), "<table class=inhaltsverzeichnis><tr><td>" + link("1") + link("2"));
    EXPECT_EQ(MenuText(10).substr(40 + 9 * 160), link("10"));
}

const std::string kLeer =
    ".newstable{border-Bottom-Width:0;border-Top-Width:0px;border-Left-Width:0px;border-Right-Width:0px;width:"
    ";background-color:;}.over{width:; padding:2px; background-color:;}.over_text{color:;font-size:; font-family:;"
    "}.text{padding:2px;background-color:;}.datum{background-color:; width:; white-space:nowrap; padding:2px;}"
    ".datum_text{font-size:;font-family:; color:}.text_text{color:; font-family:;font-size:;}";

TEST(Stylesheet, EveryValueAndFlagInItsPlace) {
    EXPECT_EQ(StylesheetText(StyleWerte{}), kLeer);
    // The values as letters in their order; flags on with any value but 0.
    const StyleWerte s{"a", "b", "c", "d", "e",        "f", "g", "h", "i", "j", "k",
                       "l", "m", "n", "o", "<&\xE4;}", -7,  -7,  -7,  -7,  "p", "q"};
    EXPECT_EQ(
        StylesheetText(s),
        ".newstable{border-Bottom-Width:0;border-Top-Width:0px;border-Left-Width:0px;border-Right-Width:0px;"
        "width:<&\xE4;};background-color:o;}.over{width:g; padding:2px; background-color:f;}.over_text{"
        "color:h;font-size:i; font-family:j;font-weight:bold;text-decoration:underline;}.text{padding:2px;"
        "background-color:k;}.datum{background-color:a; width:b; white-space:nowrap; padding:2px;}"
        ".datum_text{font-size:d;text-decoration:underline;font-family:e; font-weight:bold;color:c}"
        ".text_text{color:l; font-family:n;font-size:m;}"
        ".text_text img{margin-left:p;margin-right:p;margin-top:q;margin-bottom:q;}");
}

} // namespace
