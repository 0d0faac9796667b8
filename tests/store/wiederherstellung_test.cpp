#include "store/wiederherstellung.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

using Art = Aenderung::Art;

Artikel artikel(int tag, const std::string& kopf, const std::string& text) {
    return {DateTime::fromParts(2003, 5, tag, 12), kopf, text};
}

Aenderung aenderung(Art art, Artikel alt = {}, Artikel neu = {}, std::string wert = {}) {
    return {
        art,  DateTime::fromParts(2026, 12, 7, 14, 3), std::move(alt), std::move(neu), std::move(wert), {},
        false};
}

// Two articles of the same headline: a change names the one it means by every field.
struct Sicherung : ::testing::Test {
    TempDir dir;
    Wiederherstellung w{dir / DateiName(Datendatei::Wiederherstellung)};
    std::vector<Aenderung> alle() {
        VelmaroZustand stil;
        stil.m_style.datumHintergrund = "#FFEEDD";
        Aenderung e = aenderung(Art::Einstellungen, {}, {}, "Site\nftp.example.org\nich\ngeheim");
        e.stil = stil.DateiInhalt(Datendatei::StyleConfig);
        return {aenderung(Art::Neu, {}, artikel(4, "Neu", "n")),
                aenderung(Art::Geaendert, artikel(2, "Gleich", "unten"), artikel(1, "Gleich", "geändert")),
                aenderung(Art::Geloescht, artikel(3, "Gleich", "oben")),
                aenderung(Art::ProSeite, {}, {}, "7"), e};
    }
};

TEST_F(Sicherung, EveryKindOfChangeComesBackAndApplies) {
    for (const Aenderung& a : alle())
        ASSERT_TRUE(w.Anhaengen(a)) << w.fehlerText();
    EXPECT_EQ(fs::status(w.datei()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const auto gelesen = w.Lesen();
    ASSERT_TRUE(gelesen);
    EXPECT_EQ(AenderungenBeschreiben(*gelesen), "5 Änderungen vom 07.12.2026 14:03");
    VelmaroZustand z;
    z.m_artikelListe.addTail(artikel(3, "Gleich", "oben"));
    z.m_artikelListe.addTail(artikel(2, "Gleich", "unten"));
    EXPECT_FALSE(AenderungenAnwenden(z, *gelesen));
    EXPECT_EQ(std::vector(z.m_artikelListe.begin(), z.m_artikelListe.end()),
              (std::vector<Artikel>{artikel(4, "Neu", "n"), artikel(1, "Gleich", "geändert")}));
    EXPECT_EQ(z.m_artikelProSeite + z.m_ftp.passwort + z.m_style.datumHintergrund, "7geheim#FFEEDD");

    // A draft is offered.
    const Aenderung entwurf = aenderung(Art::Entwurf, {}, artikel(5, "Entwurf", ""));
    ASSERT_TRUE(w.Anhaengen(entwurf));
    EXPECT_EQ(AenderungenAnwenden(z, *w.Lesen())->neu, entwurf.neu);
    EXPECT_EQ(Wiederherstellung(w.Beiseitelegen()).Lesen()->size(), 6u);
}

// A kill in the middle of a write leaves a cut or garbled last change: every complete one is still
// offered, and the cut one never turns into something else. A full disk during the write is
// reported, the file cut back, and the next change lands whole.
TEST_F(Sicherung, ACutGarbledOrUnwrittenTailCostsOnlyTheLastChange) {
    const auto a = alle();
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        ASSERT_TRUE(w.Anhaengen(a[i]));
    const std::size_t vier = fs::file_size(w.datei());
    ASSERT_TRUE(w.Anhaengen(a.back()));
    const std::string ganz = readFile(w.datei());
    std::string garbled = ganz;
    garbled[vier + 10] ^= 0x20;
    for (std::size_t schnitt = vier; schnitt <= ganz.size(); ++schnitt) {
        writeFile(w.datei(), schnitt < ganz.size() ? ganz.substr(0, schnitt) : garbled);
        ASSERT_EQ(w.Lesen()->size(), 4u) << schnitt;
    }
    writeFile(w.datei(), ganz.substr(0, vier));
    bool ok = true;
    MitDateiGrenze(vier + 10, [&] { ok = w.Anhaengen(a.back()); });
    EXPECT_FALSE(ok || w.fehlerText().empty());
    EXPECT_EQ(fs::file_size(w.datei()), vier);
    ASSERT_TRUE(w.Anhaengen(a.back()));
    EXPECT_EQ(readFile(w.datei()), ganz);
}

} // namespace
