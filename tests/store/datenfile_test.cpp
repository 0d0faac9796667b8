#include "store/archive.h"
#include "store/zustand.h"

#include "../support/beispiel.h"
#include "../support/memdevice.h"

#include <gtest/gtest.h>

using namespace velmaro;
using velmaro::test::kBeispielDaten;
using velmaro::test::MemDevice;

namespace {

using Lines = std::vector<std::string>;

struct Liste : VelmaroZustand {
    void load(const std::string& bytes) {
        MemDevice dev(bytes);
        DatenLaden(dev);
    }
    // Each headline, with "/body" unless the body is "t".
    Lines headlines() const {
        Lines h;
        for (const auto& a : m_artikelListe)
            h.push_back(a.ueberschrift + (a.textinhalt == "t" ? "" : "/" + a.textinhalt));
        return h;
    }
    // Inserts each article as "Neu" does.
    Liste& add(std::initializer_list<std::pair<DateTime, std::string>> neu) {
        for (const auto& [d, u] : neu)
            ArtikelEinfuegen({d, u, "t"});
        return *this;
    }
};

TEST(DatenFile, ExampleAndEmptyFiles) {
    Liste s;
    s.load(kBeispielDaten);
    EXPECT_EQ(s.m_artikelProSeite, "5");
    EXPECT_EQ(s.headlines(), Lines{"Test/Hallo Welt"});
    EXPECT_EQ(s.m_artikelListe.begin()->datum, DateTime::fromParts(2003, 5, 1, 12));
    EXPECT_EQ(s.ListenZeilen(), Lines{"01.05.2003 : Test"});
    EXPECT_EQ(s.DateiInhalt(Datendatei::Daten), kBeispielDaten);

    Liste leer;
    leer.m_artikelProSeite = "5";
    EXPECT_EQ(leer.DateiInhalt(Datendatei::Daten), std::string("\0015\4ENDE", 7));
    leer.m_artikelProSeite.clear();
    EXPECT_EQ(leer.DateiInhalt(Datendatei::Daten), std::string("\0\4ENDE", 6));
}

// The write-read-write round trip of any file is the corpus replay's (leserkorpus_test.cpp).
TEST(DatenFile, ReadingKeepsTheFileOrderAndStopsAtAnyOtherMarker) {
    Liste s;
    s.m_artikelListe.addTail({DateTime::fromParts(1850, 6, 1, 6), "Alt", "<b>&amp;</b>"});
    s.m_artikelListe.addTail({DateTime::fromParts(2024, 1, 2), "Neu", "t"});
    s.m_artikelListe.addTail({DateTime{1, 0.0}, "", ""});
    std::string bytes = s.DateiInhalt(Datendatei::Daten);
    Liste t;
    t.load(bytes);
    EXPECT_EQ(t.headlines(), (Lines{"Alt/<b>&amp;</b>", "Neu", "/"})); // not newest first
    // Any marker but "ARTIKEL" and "ENDE" is damage: the load stops, keeping what came before.
    bytes.replace(bytes.find("ARTIKEL", 5), 7, "artikel");
    Liste u;
    EXPECT_THROW(u.load(bytes), ArchiveError);
    EXPECT_EQ(u.headlines(), Lines{"Alt/<b>&amp;</b>"});
}

TEST(DatenFile, InsertionBeforeTheFirstStrictlyOlder) {
    const DateTime mittag = DateTime::fromParts(2003, 5, 1, 12);
    EXPECT_EQ(Liste()
                  .add({{mittag, "erster"},
                        {DateTime::fromParts(2003, 5, 2), "neuer"},
                        {DateTime::fromParts(2003, 4, 1), "aelter"},
                        {mittag, "gleich"},
                        {DateTime::fromParts(2003, 5, 1, 12, 0, 1), "sekunde"}})
                  .headlines(),
              (Lines{"neuer", "sekunde", "erster", "gleich", "aelter"}));

    // Before 1900 the fraction counts forward: -1.75 (29.12.1899 18:00) is later than -1.25 (06:00).
    Liste alt;
    alt.add({{DateTime{0, -1.25}, "morgens"},
             {DateTime{0, -1.75}, "abends"},
             {DateTime{0, -2.0}, "vortag"},
             {DateTime{0, 0.5}, "mittag"}});
    EXPECT_EQ(alt.headlines(), (Lines{"mittag", "abends", "morgens", "vortag"}));
    EXPECT_EQ(alt.ListenZeilen()[1], "29.12.1899 : abends");

    // In a list out of order the new article goes before the first older one.
    Liste wirr;
    wirr.m_artikelListe.addTail({DateTime::fromParts(2000, 1, 1), "alt", "t"});
    wirr.m_artikelListe.addTail({DateTime::fromParts(2020, 1, 1), "neu", "t"});
    EXPECT_EQ(wirr.add({{DateTime::fromParts(2010, 1, 1), "mitte"}}).headlines(),
              (Lines{"mitte", "alt", "neu"}));
}

TEST(DatenFile, RemovalTakesTheFirstExactMatch) {
    Liste s;
    s.ArtikelEinfuegen({DateTime::fromParts(2003, 1, 3), "Gleich", "oben"});
    s.ArtikelEinfuegen({DateTime::fromParts(2003, 1, 2), "Gleich", "unten"});
    s.add({{DateTime::fromParts(2003, 1, 1), "gleich"}});
    EXPECT_FALSE(s.ArtikelEntfernen("Gleich "));
    EXPECT_TRUE(s.ArtikelEntfernen("Gleich"));
    EXPECT_EQ(s.headlines(), (Lines{"Gleich/unten", "gleich"}));
}

TEST(DatenFile, PerPageValueReadsLikeAtoi) {
    for (const auto& [text, n] : {std::pair{"7", 7}, {"  12x", 12}, {"-3", -3}, {"", 0}, {"fünf", 0}})
        EXPECT_EQ(VelmaroZustand::ZahlAusText(text), n) << text;
}

} // namespace
