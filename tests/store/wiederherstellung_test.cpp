#include "store/wiederherstellung.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

Artikel artikel(int tag, const std::string& kopf, const std::string& text) {
    return {DateTime::fromParts(2003, 5, tag, 12), kopf, text};
}

Aenderung aenderung(Aenderung::Art art, Artikel alt = {}, Artikel neu = {}, std::string wert = {}) {
    return {
        art,  DateTime::fromParts(2026, 12, 7, 14, 3), std::move(alt), std::move(neu), std::move(wert), {},
        false};
}

std::vector<Artikel> liste(const VelmaroZustand& z) {
    return {z.m_artikelListe.begin(), z.m_artikelListe.end()};
}

struct Sicherung : ::testing::Test {
    TempDir dir;
    Wiederherstellung w{dir / "wiederherstellung.bit"};
    VelmaroZustand z;
    // Two articles of the same headline: a change names the one it means by every field.
    Sicherung() {
        z.m_artikelListe.addTail(artikel(3, "Gleich", "oben"));
        z.m_artikelListe.addTail(artikel(2, "Gleich", "unten"));
    }
    std::vector<Aenderung> alle() {
        VelmaroZustand stil;
        stil.m_style.datumHintergrund = "#FFEEDD";
        Aenderung e = aenderung(Aenderung::Art::Einstellungen, {}, {}, "Site\nftp.example.org\nich\ngeheim");
        e.stil = stil.DateiInhalt(Datendatei::StyleConfig);
        return {aenderung(Aenderung::Art::Neu, {}, artikel(4, "Neu", "n")),
                aenderung(Aenderung::Art::Geaendert, artikel(2, "Gleich", "unten"),
                          artikel(1, "Gleich", "geändert")),
                aenderung(Aenderung::Art::Geloescht, artikel(3, "Gleich", "oben")),
                aenderung(Aenderung::Art::ProSeite, {}, {}, "7"), e};
    }
};

TEST_F(Sicherung, EveryKindOfChangeComesBackAndApplies) {
    EXPECT_FALSE(w.Lesen()) << "no file, nothing to offer";
    for (const Aenderung& a : alle())
        ASSERT_TRUE(w.Anhaengen(a)) << w.fehlerText();
    EXPECT_EQ(fs::status(w.datei()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const auto gelesen = w.Lesen();
    ASSERT_TRUE(gelesen);
    ASSERT_EQ(gelesen->size(), 5u);
    EXPECT_EQ(AenderungenBeschreiben(*gelesen), "5 Änderungen vom 07.12.2026 14:03");
    EXPECT_FALSE(AenderungenAnwenden(z, *gelesen));
    EXPECT_EQ(liste(z), (std::vector<Artikel>{artikel(4, "Neu", "n"), artikel(1, "Gleich", "geändert")}));
    EXPECT_EQ(z.m_artikelProSeite, "7");
    EXPECT_EQ(z.m_ftp.passwort, "geheim");
    EXPECT_EQ(z.m_style.datumHintergrund, "#FFEEDD");

    // A draft is offered only while nothing came after it.
    const Aenderung entwurf = aenderung(Aenderung::Art::Entwurf, {}, artikel(5, "Entwurf", ""));
    ASSERT_TRUE(w.Anhaengen(entwurf));
    VelmaroZustand z2;
    EXPECT_EQ(AenderungenAnwenden(z2, *w.Lesen())->neu, entwurf.neu);
    ASSERT_TRUE(w.Anhaengen(aenderung(Aenderung::Art::Neu, {}, artikel(5, "Entwurf", "fertig"))));
    EXPECT_FALSE(AenderungenAnwenden(z2, *w.Lesen()));

    EXPECT_EQ(Wiederherstellung(w.Beiseitelegen()).Lesen()->size(), 7u);
}

// A kill in the middle of a write leaves a cut last change: every complete one is still offered,
// and the cut one never turns into something else; a full disk leaves no half change.
TEST_F(Sicherung, ACutGarbledOrUnwrittenTailCostsOnlyTheLastChange) {
    const auto a = alle();
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        ASSERT_TRUE(w.Anhaengen(a[i]));
    const std::size_t vier = fs::file_size(w.datei());
    ASSERT_TRUE(w.Anhaengen(a.back()));
    const std::string ganz = readFile(w.datei());
    for (std::size_t schnitt = vier; schnitt < ganz.size(); ++schnitt) {
        writeFile(w.datei(), ganz.substr(0, schnitt));
        ASSERT_EQ(w.Lesen()->size(), 4u) << schnitt;
    }
    std::string garbled = ganz;
    garbled[vier + 10] ^= 0x20;
    writeFile(w.datei(), garbled);
    EXPECT_EQ(w.Lesen()->size(), 4u);

    // A full disk during the write: reported, the file cut back, and the next change lands whole.
    writeFile(w.datei(), ganz.substr(0, vier));
    bool ok = true;
    MitDateiGrenze(vier + 10, [&] { ok = w.Anhaengen(a.back()); });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(w.fehlerText().empty());
    EXPECT_EQ(fs::file_size(w.datei()), vier);
    ASSERT_TRUE(w.Anhaengen(a.back()));
    EXPECT_EQ(readFile(w.datei()), ganz);
}

} // namespace
