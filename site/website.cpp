// "Update Website" without the window: writes style.css, the index pages with their article pages,
// and the page menu, and puts them in the place of output/.
#include "site/generator.h"

#include "platform/ersatzordner.h"
#include "platform/file.h"
#include "platform/serveradresse.h"
#include "site/bilder.h"
#include "store/bildablage.h"
#include "store/zustand.h"

#include <cstdint>
#include <set>

namespace velmaro {

namespace fs = std::filesystem;

namespace {

// The index page being filled. Its rows are collected and written in few large writes, so that at
// most one page's bytes are held however long the list is.
class IndexSeite {
public:
    explicit IndexSeite(ErsatzOrdner& ordner) : m_ordner(ordner) {}
    bool erstellen(const std::string& name) {
        m_puffer.clear();
        m_datei = m_ordner.anlegen(name);
        return m_datei.offen();
    }
    std::string& puffer() { return m_puffer; }
    void vielleichtLeeren() {
        if (m_puffer.size() >= kSchwelle)
            leeren();
    }
    void schliessen() {
        leeren();
        m_datei.schliessen();
    }

private:
    static constexpr std::size_t kSchwelle = 1 << 16;

    void leeren() {
        m_datei.schreiben(m_puffer);
        m_puffer.clear();
    }

    ErsatzOrdner& m_ordner;
    ErsatzDatei m_datei;
    std::string m_puffer;
};

} // namespace

GeneratorErgebnis WebsiteErzeugen(Artikelliste& liste, const std::string& artikelProSeite,
                                  const StyleWerte& style, const FtpZugangsdaten& ftp,
                                  const std::filesystem::path& ordner,
                                  const std::function<void()>& ersteSeite) {
    GeneratorErgebnis e;
    // The pages go into a spare folder swapped in whole at the end: output/ never holds a mix of two
    // runs, and pages of deleted articles leave with the rest of the old site.
    ErsatzOrdner ausgabe(ordner, ErsatzOrdner::Folgen);
    ausgabe.schreiben(kStylesheetName, StylesheetText(style));

    const std::int64_t proSeite = VelmaroZustand::ZahlAusText(artikelProSeite);
    e.anzahlSeiten = 1;

    IndexSeite seite(ausgabe);
    if (seite.erstellen(SeitenName(1)) && ersteSeite)
        ersteSeite();
    seite.puffer() += kIndexAnfang;
    std::string artikelSeite;
    std::string artikelName;
    std::set<std::string> bilder;
    Artikelliste::Position position = liste.head();
    while (position) {
        const Artikel& a = liste.next(position);
        if (proSeite * e.anzahlSeiten == e.anzahlArtikel) {
            seite.puffer() += kIndexEnde;
            seite.schliessen();
            seite.erstellen(SeitenName(++e.anzahlSeiten));
            seite.puffer() += kIndexAnfang;
        }
        ++e.anzahlArtikel;
        artikelName = ArtikelName(e.anzahlArtikel);
        VorschauZeileAnhaengen(seite.puffer(), a, artikelName);
        seite.vielleichtLeeren();

        for (BildVerweis& v : BildVerweise(a.textinhalt))
            bilder.insert(std::move(v.name));
        artikelSeite.clear();
        ArtikelSeiteAnhaengen(artikelSeite, a);
        ausgabe.schreiben(artikelName, artikelSeite);
    }
    seite.puffer() += kIndexEnde;
    seite.schliessen();
    ausgabe.schreiben(SeitenName(0), MenuText(e.anzahlSeiten));
    ausgabe.schreiben(kFeedName, FeedText(liste, ftp.name,
                                          WebsiteAdresse(ftp.website, ftp.adresse).value_or(std::string())));

    // Pictures are converted once, into the cache beside output/; one the previous site holds is taken
    // over without copying its bytes (its name is made from its content).
    fs::path arbeitsordner = ordner.lexically_normal();
    if (!arbeitsordner.has_filename())
        arbeitsordner = arbeitsordner.parent_path();
    arbeitsordner = arbeitsordner.parent_path();
    const std::string bilderOrdner(kBilderOrdner);
    const fs::path cache = arbeitsordner / kBildCache;
    for (const auto& [name, grund] :
         BilderErzeugen(arbeitsordner / "data" / bilderOrdner, cache, bilder, cache)) {
        e.fehlendeDateien.push_back(bilderOrdner + "/" + name);
        if (e.grund.empty())
            e.grund = "Bild " + name + ": " + grund;
        bilder.erase(name);
    }
    for (const std::string& name : bilder) {
        const std::string pfad = bilderOrdner + "/" + name;
        // Taken over only while newer than its source: a picture replaced under its name is new.
        std::error_code ecQuelle, ecBisher;
        const auto quelle = fs::last_write_time(arbeitsordner / "data" / pfad, ecQuelle);
        const auto bisher = fs::last_write_time(ausgabe.bisher() / pfad, ecBisher);
        const bool aktuell = !ecQuelle && !ecBisher && bisher >= quelle;
        std::string bytes;
        if ((!aktuell || !ausgabe.uebernehmen(pfad)) && readWholeFile(cache / name, bytes))
            ausgabe.schreiben(pfad, bytes);
        e.bilder.push_back(pfad);
    }

    // A page pointing at a picture that is not there is no site to publish: output/ stays as it was.
    if (e.fehlendeDateien.empty() && !ausgabe.tauschen()) {
        e.fehlendeDateien = ausgabe.namen();
        e.grund = ausgabe.fehlerText();
        e.bilder.clear();
    }
    e.dateien = SeitenDateien(e.anzahlSeiten, e.anzahlArtikel);
    e.dateien.insert(e.dateien.end(), e.bilder.begin(), e.bilder.end());
    return e;
}

} // namespace velmaro
