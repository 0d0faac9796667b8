// The article list's nodes come from blocks of ten. Run under ASan, a slip in the block bookkeeping
// shows as a corrupted or lost article or as a use after free.
#include "store/artikel.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace velmaro;

namespace {

Artikel artikel(int i) {
    return Artikel{DateTime{DateTime::Valid, 1000.0 + i}, "Kopf " + std::to_string(i), std::string(300, 'a')};
}

std::vector<std::string> koepfe(const Artikelliste& l) {
    std::vector<std::string> k;
    for (const Artikel& a : l)
        k.push_back(a.ueberschrift);
    return k;
}

TEST(Artikelliste, InsertRemoveReuseAndCopyAcrossBlocks) {
    Artikelliste l;
    std::vector<Artikelliste::Position> pos;
    for (int i = 0; i < 35; ++i)
        pos.push_back(l.addTail(artikel(i)));
    // Frees nodes in every block, then takes them again before element 1.
    for (int i = 0; i < 35; i += 3)
        l.removeAt(pos[i]);
    for (int i = 100; i < 112; ++i)
        l.insertBefore(pos[1], artikel(i));
    std::vector<std::string> soll;
    for (int i = 100; i < 112; ++i)
        soll.push_back("Kopf " + std::to_string(i));
    for (int i = 1; i < 35; ++i)
        if (i % 3 != 0)
            soll.push_back("Kopf " + std::to_string(i));
    EXPECT_EQ(koepfe(l), soll);
    EXPECT_EQ(l.at(pos[34]), artikel(34));
    // The node freed last is the next one taken.
    const Artikel* frei = &l.at(pos[34]);
    l.removeAt(pos[34]);
    EXPECT_EQ(&l.at(pos[34] = l.addTail(artikel(34))), frei);

    // Copies get blocks of their own; a list moved from and an emptied one take articles again.
    Artikelliste kopie = l;
    Artikelliste verschoben = std::move(l);
    l.addTail(artikel(7));
    verschoben.clear();
    verschoben.addTail(artikel(8));
    EXPECT_EQ(koepfe(kopie), soll);
    EXPECT_EQ(koepfe(l), std::vector<std::string>{"Kopf 7"});
    l = kopie;
    kopie.clear();
    EXPECT_EQ(koepfe(l), soll);
    EXPECT_EQ(koepfe(verschoben), std::vector<std::string>{"Kopf 8"});
}

} // namespace
