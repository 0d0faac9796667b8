#include "app/zustand.h"
#include "store/archive.h"

#include "../support/memdevice.h"

#include <gtest/gtest.h>

using namespace velmaro;
using velmaro::test::MemDevice;

namespace {

const std::string kBeispiel = std::string("\x01"
                                          "5"
                                          "\x07"
                                          "ARTIKEL"
                                          "\x04"
                                          "Test"
                                          "\x0A"
                                          "Hallo Welt",
                                          26) +
                              std::string("\0\0\0\0\0\0\0\0\xD0\x6D\xE2\x40", 12) +
                              std::string("\x04"
                                          "ENDE",
                                          5);

struct Store : VelmaroZustand {
    Store() { m_marker = {"ARTIKEL", "ENDE"}; }

    std::string save() {
        MemDevice dev;
        DatenSpeichern(dev);
        return dev.data;
    }
    void load(const std::string& bytes) {
        MemDevice dev(bytes);
        DatenLaden(dev);
    }
    void add(DateTime d, const std::string& ueberschrift, const std::string& text = "t") {
        m_datum = d;
        m_ueberschrift = ueberschrift;
        m_textinhalt = text;
        ArtikelEinfuegen();
    }
    std::vector<std::string> headlines() const {
        std::vector<std::string> h;
        for (const auto& a : m_artikelListe)
            h.push_back(a.ueberschrift);
        return h;
    }
};

TEST(DatenFile, ExampleFileOfFortyThreeBytes) {
    ASSERT_EQ(kBeispiel.size(), 43u);
    Store s;
    s.load(kBeispiel);
    EXPECT_EQ(s.m_artikelProSeite, "5");
    ASSERT_EQ(s.m_artikelListe.size(), 1u);
    const Artikel& a = *s.m_artikelListe.begin();
    EXPECT_EQ(a.ueberschrift, "Test");
    EXPECT_EQ(a.textinhalt, "Hallo Welt");
    EXPECT_EQ(a.datum, DateTime::fromParts(2003, 5, 1, 12));
    EXPECT_EQ(s.ListenZeilen(), std::vector<std::string>{"01.05.2003 : Test"});
    EXPECT_EQ(s.save(), kBeispiel);
}

TEST(DatenFile, EmptyFiles) {
    Store s;
    s.m_artikelProSeite = "5";
    EXPECT_EQ(s.save(), std::string("\x01"
                                    "5"
                                    "\x04"
                                    "ENDE",
                                    7));
    s.m_artikelProSeite.clear();
    EXPECT_EQ(s.save(), std::string("\0\x04"
                                    "ENDE",
                                    6));
}

TEST(DatenFile, WriteReadWriteIsByteIdentical) {
    Store s;
    s.m_artikelProSeite = "7";
    s.add(DateTime::fromParts(2024, 1, 2, 3, 4, 5), "Ü\xDF \x80", std::string(70000, 'b') + "\r\nEnde");
    s.add(DateTime::fromParts(1850, 6, 1, 6), "Alt", "<b>&amp;</b>");
    s.add(DateTime::fromParts(2024, 1, 2, 3, 4, 5), "", "");
    const std::string first = s.save();
    Store t;
    t.load(first);
    EXPECT_EQ(t.headlines(), s.headlines());
    EXPECT_EQ(t.save(), first);
}

TEST(DatenFile, FileOrderIsKeptAndOtherMarkersEndTheLoad) {
    Store s;
    s.add(DateTime::fromParts(2001, 1, 1), "a");
    s.add(DateTime::fromParts(2002, 1, 1), "b");
    // A file not newest first, written by hand: its order stands.
    std::string bytes = s.save();
    Store t;
    t.load(bytes);
    EXPECT_EQ(t.headlines(), (std::vector<std::string>{"b", "a"}));

    // "artikel" in other case ends the list like "ENDE"; nothing after it is read.
    std::string odd = bytes;
    odd.replace(odd.find("ARTIKEL", 5), 7, "artikel");
    Store u;
    u.load(odd);
    EXPECT_EQ(u.headlines(), std::vector<std::string>{"b"});
}

TEST(DatenFile, CutAtEveryOffsetKeepsWhatWasRead) {
    Store s;
    s.m_artikelProSeite = "6";
    s.add(DateTime::fromParts(2010, 1, 1), "eins", "text eins");
    s.add(DateTime::fromParts(2009, 1, 1), "zwei", "text zwei");
    const std::string full = s.save();
    for (std::size_t cut = 1; cut < full.size(); ++cut) {
        Store t;
        EXPECT_THROW(t.load(full.substr(0, cut)), ArchiveError) << cut;
        if (cut >= 2) {
            EXPECT_EQ(t.m_artikelProSeite, "6");
        }
        const auto h = t.headlines();
        // Every article read is whole and in order.
        for (std::size_t i = 0; i < h.size(); ++i)
            EXPECT_EQ(h[i], i == 0 ? "eins" : "zwei");
    }
}

TEST(DatenFile, InsertionKeepsNewestFirst) {
    Store s;
    const DateTime mittag = DateTime::fromParts(2003, 5, 1, 12);
    s.add(mittag, "erster");
    s.add(DateTime::fromParts(2003, 5, 2), "neuer");
    s.add(DateTime::fromParts(2003, 4, 1), "aelter");
    s.add(mittag, "gleich1");
    s.add(mittag, "gleich2");
    s.add(DateTime::fromParts(2003, 5, 1, 12, 0, 1), "eine Sekunde spaeter");
    EXPECT_EQ(s.headlines(), (std::vector<std::string>{"neuer", "eine Sekunde spaeter", "erster", "gleich1",
                                                       "gleich2", "aelter"}));
}

TEST(DatenFile, InsertionOrdersDatesBefore1900) {
    Store s;
    // -1.25 is 29 Dec 1899 06:00 and -1.75 the same day at 18:00: later, though smaller.
    s.add(DateTime{0, -1.25}, "morgens");
    s.add(DateTime{0, -1.75}, "abends");
    s.add(DateTime{0, -2.0}, "vortag");
    s.add(DateTime{0, 0.5}, "mittag 30.12.");
    EXPECT_EQ(s.headlines(), (std::vector<std::string>{"mittag 30.12.", "abends", "morgens", "vortag"}));
    EXPECT_EQ(formatDatum(DateTime{0, -1.25}), "29.12.1899");
}

TEST(DatenFile, InsertionIntoUnorderedListGoesBeforeFirstOlder) {
    Store s;
    s.load([] {
        Store w;
        w.m_artikelListe.addTail({DateTime::fromParts(2000, 1, 1), "alt", "x"});
        w.m_artikelListe.addTail({DateTime::fromParts(2020, 1, 1), "neu", "x"});
        return w.save();
    }());
    s.add(DateTime::fromParts(2010, 1, 1), "mitte");
    EXPECT_EQ(s.headlines(), (std::vector<std::string>{"mitte", "alt", "neu"}));
}

TEST(DatenFile, RemovalTakesFirstExactMatch) {
    Store s;
    s.add(DateTime::fromParts(2003, 1, 3), "Gleich", "oben");
    s.add(DateTime::fromParts(2003, 1, 2), "Gleich", "unten");
    s.add(DateTime::fromParts(2003, 1, 1), "gleich");
    EXPECT_FALSE(s.ArtikelEntfernen("Gleich "));
    EXPECT_EQ(s.m_artikelListe.size(), 3u);
    EXPECT_TRUE(s.ArtikelEntfernen("Gleich"));
    ASSERT_EQ(s.m_artikelListe.size(), 2u);
    EXPECT_EQ(s.m_artikelListe.begin()->textinhalt, "unten");
    EXPECT_TRUE(s.ArtikelEntfernen("gleich"));
    EXPECT_EQ(s.headlines(), std::vector<std::string>{"Gleich"});
}

TEST(DatenFile, ListLineIsDatePlusThirteenCharacters) {
    Store s;
    s.add(DateTime::fromParts(2003, 3, 5, 23, 59, 59), "Neue Preise");
    s.add(DateTime::fromParts(1999, 12, 31), "");
    const auto zeilen = s.ListenZeilen();
    EXPECT_EQ(zeilen[0], "05.03.2003 : Neue Preise");
    EXPECT_EQ(zeilen[0].substr(13), "Neue Preise");
    EXPECT_EQ(zeilen[1], "31.12.1999 : ");
}

TEST(DatenFile, PerPageValueReadsLikeAtoi) {
    EXPECT_EQ(VelmaroZustand::ZahlAusText("7"), 7);
    EXPECT_EQ(VelmaroZustand::ZahlAusText("  12x"), 12);
    EXPECT_EQ(VelmaroZustand::ZahlAusText("-3"), -3);
    EXPECT_EQ(VelmaroZustand::ZahlAusText(""), 0);
    EXPECT_EQ(VelmaroZustand::ZahlAusText("fünf"), 0);
}

} // namespace
