// The article list's nodes come from blocks of ten; these tests walk it across block boundaries,
// removals and reuse, where a slip in the block bookkeeping would corrupt or lose articles.
#include "store/artikel.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace velmaro;

namespace {

Artikel artikel(int i) {
    return Artikel{DateTime{0, 1000.0 + i}, "Kopf " + std::to_string(i), std::string(300, 'a' + i % 26)};
}

std::vector<std::string> koepfe(const Artikelliste& l) {
    std::vector<std::string> k;
    for (const Artikel& a : l)
        k.push_back(a.ueberschrift);
    return k;
}

TEST(Artikelliste, PositionsStayValidAcrossBlocks) {
    Artikelliste l;
    std::vector<Artikelliste::Position> pos;
    for (int i = 0; i < 35; ++i)
        pos.push_back(l.addTail(artikel(i)));
    // Removing every third element frees nodes in several blocks; the rest keep their places.
    for (int i = 0; i < 35; i += 3)
        l.removeAt(pos[i]);
    for (int i = 0; i < 35; ++i) {
        if (i % 3 != 0) {
            EXPECT_EQ(l.at(pos[i]), artikel(i)) << i;
        }
    }
    EXPECT_EQ(l.size(), 23u);

    // Freed nodes are taken again; nothing already there moves or changes.
    for (int i = 100; i < 112; ++i)
        l.insertBefore(pos[1], artikel(i));
    EXPECT_EQ(l.size(), 35u);
    EXPECT_EQ(l.at(pos[34]), artikel(34));
    std::vector<std::string> k = koepfe(l);
    EXPECT_EQ(k.front(), "Kopf 100");
    EXPECT_EQ(k[12], "Kopf 1");
    EXPECT_EQ(k.back(), "Kopf 34");
}

TEST(Artikelliste, EmptiedListStartsAgain) {
    Artikelliste l;
    for (int round = 0; round < 3; ++round) {
        std::vector<Artikelliste::Position> pos;
        for (int i = 0; i < 21; ++i)
            pos.push_back(l.addTail(artikel(i + round)));
        for (auto p : pos)
            l.removeAt(p);
        EXPECT_TRUE(l.empty());
    }
    l.addTail(artikel(7));
    l.clear();
    l.addTail(artikel(8));
    EXPECT_EQ(koepfe(l), std::vector<std::string>{"Kopf 8"});
}

TEST(Artikelliste, CopiesAndMovesAreIndependent) {
    Artikelliste a;
    for (int i = 0; i < 15; ++i)
        a.addTail(artikel(i));
    Artikelliste kopie = a;
    a.clear();
    EXPECT_EQ(kopie.size(), 15u);
    EXPECT_EQ(*kopie.begin(), artikel(0));

    Artikelliste b = std::move(kopie);
    // A list moved from can still take articles.
    kopie.addTail(artikel(99));
    b.removeAt(b.head());
    EXPECT_EQ(kopie.size(), 1u);
    EXPECT_EQ(b.size(), 14u);
    a = b;
    b.clear();
    EXPECT_EQ(a.size(), 14u);
    a = std::move(kopie);
    EXPECT_EQ(koepfe(a), std::vector<std::string>{"Kopf 99"});
}

} // namespace
