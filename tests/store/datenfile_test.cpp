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

std::vector<Artikel> artikel(const VelmaroZustand& z) {
    return {z.m_artikelListe.begin(), z.m_artikelListe.end()};
}

// Inserts each article as "Neu" does; the headlines in list order.
struct Liste : VelmaroZustand {
    Lines add(std::initializer_list<std::pair<DateTime, std::string>> neu) {
        for (const auto& [d, u] : neu)
            ArtikelEinfuegen({d, u, "t"});
        Lines h;
        for (const auto& a : m_artikelListe)
            h.push_back(a.ueberschrift);
        return h;
    }
};

void laden(VelmaroZustand& z, const std::string& bytes) {
    MemDevice dev(bytes);
    z.DatenLaden(dev);
}

TEST(DatenFile, ExampleAndEmptyFiles) {
    VelmaroZustand s;
    laden(s, kBeispielDaten);
    EXPECT_EQ(artikel(s),
              (std::vector<Artikel>{{DateTime::fromParts(2003, 5, 1, 12), "Test", "Hallo Welt"}}));
    EXPECT_EQ(s.DateiInhalt(Datendatei::Daten), kBeispielDaten);
    EXPECT_EQ(VelmaroZustand().DateiInhalt(Datendatei::Daten), std::string("\0\4ENDE", 6));
}

// The write-read-write round trip of any file is the corpus replay's (leserkorpus_test.cpp).
TEST(DatenFile, ReadingKeepsTheFileOrderAndStopsAtAnyOtherMarker) {
    VelmaroZustand s, t, u;
    s.m_artikelListe.addTail({DateTime::fromParts(1850, 6, 1, 6), "Alt", "<b>&amp;</b>"});
    s.m_artikelListe.addTail({DateTime::fromParts(2024, 1, 2), "Neu", "t"}); // not newest first
    s.m_artikelListe.addTail({DateTime{1, 0.0}, "", ""});
    std::string bytes = s.DateiInhalt(Datendatei::Daten);
    laden(t, bytes);
    EXPECT_EQ(artikel(t), artikel(s));
    // Any marker but "ARTIKEL" and "ENDE" is damage: the load stops, keeping what came before.
    bytes.replace(bytes.find("ARTIKEL", 5), 7, "artikel");
    EXPECT_THROW(laden(u, bytes), ArchiveError);
    EXPECT_EQ(artikel(u), std::vector{artikel(s)[0]});
}

// Before 1900 the fraction counts forward: -1.75 (29.12.1899 18:00) is later than -1.25 (06:00).
TEST(DatenFile, InsertionBeforeTheFirstStrictlyOlder) {
    const DateTime mittag = DateTime::fromParts(2003, 5, 1, 12);
    EXPECT_EQ(Liste().add({{mittag, "erster"},
                           {DateTime::fromParts(2003, 5, 2), "neuer"},
                           {DateTime::fromParts(2003, 4, 1), "aelter"},
                           {mittag, "gleich"},
                           {DateTime::fromParts(2003, 5, 1, 12, 0, 1), "sekunde"}}),
              (Lines{"neuer", "sekunde", "erster", "gleich", "aelter"}));
    Liste alt;
    EXPECT_EQ(alt.add({{DateTime{0, -1.25}, "morgens"},
                       {DateTime{0, -1.75}, "abends"},
                       {DateTime{0, -2.0}, "vortag"},
                       {DateTime{0, 0.5}, "mittag"}}),
              (Lines{"mittag", "abends", "morgens", "vortag"}));
}

} // namespace
