// "Update Website" without the window: writes style.css, the index pages with their article pages,
// and the page menu into output/.
#include "site/generator.h"

#include "platform/file.h"
#include "site/bilder.h"
#include "store/bildablage.h"
#include "store/zustand.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <set>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {

// A folder at a page's name could never be replaced; knowing it before writing lets the pages end
// where they would end for any page that cannot be created.
bool ordnerImWeg(const fs::path& pfad) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(pfad, ec));
}

// Every page replaces its old file only once it is whole, and a link at its name is replaced rather
// than followed. No sync to disk: the pages are made again from data/ at any time.
// grund receives the cause of the first failure.
bool dateiSchreiben(const fs::path& pfad, std::string_view bytes, std::string& grund) {
    SaveFile datei(pfad, 0644, SaveFile::NoSync);
    const auto fehler = [&](const std::string& text) {
        if (grund.empty())
            grund = text;
        return false;
    };
    if (!datei.open())
        return fehler(datei.errorText());
    try {
        datei.write(bytes.data(), bytes.size());
    } catch (const FileError& f) {
        return fehler(FehlerUrsache(f.errorNumber()));
    }
    // A folder at the name shows only in the rename; asked then, not for every page.
    return datei.commit() || fehler(ordnerImWeg(pfad) ? FehlerUrsache(EISDIR) : datei.errorText());
}

// A page name of ours ("style.css", "inhalt<k>.php", "artikel<n>.php").
bool ausgabeName(const std::string& name) {
    if (name == kStylesheetName)
        return true;
    for (const std::string_view kopf : {"inhalt", "artikel"}) {
        if (name.size() <= kopf.size() + 4 || name.compare(0, kopf.size(), kopf) != 0 ||
            name.compare(name.size() - 4, 4, ".php") != 0)
            continue;
        bool ziffern = true;
        for (std::size_t i = kopf.size(); i < name.size() - 4; ++i)
            ziffern = ziffern && name[i] >= '0' && name[i] <= '9';
        if (ziffern)
            return true;
    }
    return false;
}

// The index page being filled. Its rows are collected and written in few large writes, so that at
// most one page's bytes are held however long the list is.
class IndexSeite {
public:
    explicit IndexSeite(std::string& grund) : m_grund(grund) {}
    bool erstellen(const fs::path& pfad) {
        m_puffer.clear();
        m_datei.emplace(pfad, 0644, SaveFile::NoSync);
        if (ordnerImWeg(pfad))
            grundSetzen(FehlerUrsache(EISDIR));
        else if (!m_datei->open())
            grundSetzen(m_datei->errorText());
        else
            return m_ok = true;
        return m_ok = false;
    }
    std::string& puffer() { return m_puffer; }
    void vielleichtLeeren() {
        if (m_puffer.size() >= kSchwelle)
            leeren();
    }
    // False when some of the page's bytes did not reach the file.
    bool schliessen() {
        leeren();
        if (m_ok && !m_datei->commit()) {
            grundSetzen(m_datei->errorText());
            m_ok = false;
        }
        m_datei.reset();
        return m_ok;
    }

private:
    static constexpr std::size_t kSchwelle = 1 << 16;

    void leeren() {
        if (m_ok && !m_puffer.empty()) {
            try {
                m_datei->write(m_puffer.data(), m_puffer.size());
            } catch (const FileError& f) {
                grundSetzen(FehlerUrsache(f.errorNumber()));
                m_ok = false;
            }
        }
        m_puffer.clear();
    }

    void grundSetzen(const std::string& text) {
        if (m_grund.empty())
            m_grund = text;
    }

    std::string& m_grund;
    std::optional<SaveFile> m_datei;
    std::string m_puffer;
    bool m_ok = false;
};

} // namespace

GeneratorErgebnis WebsiteErzeugen(Artikelliste& liste, const std::string& artikelProSeite,
                                  const StyleWerte& style, const fs::path& ordner,
                                  const std::function<void()>& ersteSeite) {
    GeneratorErgebnis e;
    // Without the folder nothing could be written, yet the upload would still run.
    std::error_code ec;
    fs::create_directory(ordner, ec);
    removeLeftovers(ordner, [](const std::string& name) { return ausgabeName(name); });

    if (!dateiSchreiben(ordner / kStylesheetName, StylesheetText(style), e.grund))
        e.fehlendeDateien.push_back(kStylesheetName);

    const std::int64_t proSeite = VelmaroZustand::ZahlAusText(artikelProSeite);
    e.anzahlSeiten = 1;

    std::set<std::string> bilder;
    IndexSeite seite(e.grund);
    if (seite.erstellen(ordner / SeitenName(1))) {
        if (ersteSeite)
            ersteSeite();
        seite.puffer() += kIndexAnfang;
        std::string artikelSeite;
        std::string artikelName;
        bool offen = true;
        Artikelliste::Position position = liste.head();
        while (position) {
            const Artikel& a = liste.next(position);
            if (proSeite * e.anzahlSeiten == e.anzahlArtikel) {
                seite.puffer() += kIndexEnde;
                if (!seite.schliessen())
                    e.fehlendeDateien.push_back(SeitenName(e.anzahlSeiten));
                // Rows without a page would be lost and the menu would link to nothing: the pages
                // end here, and the counters keep what was written.
                const std::string naechste = SeitenName(e.anzahlSeiten + 1);
                if (!seite.erstellen(ordner / naechste)) {
                    e.fehlendeDateien.push_back(naechste);
                    offen = false;
                    break;
                }
                ++e.anzahlSeiten;
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
            if (!dateiSchreiben(ordner / artikelName, artikelSeite, e.grund))
                e.fehlendeDateien.push_back(artikelName);
        }
        if (offen) {
            seite.puffer() += kIndexEnde;
            if (!seite.schliessen())
                e.fehlendeDateien.push_back(SeitenName(e.anzahlSeiten));
        }
    } else {
        e.fehlendeDateien.push_back(SeitenName(1));
    }

    if (!dateiSchreiben(ordner / SeitenName(0), MenuText(e.anzahlSeiten), e.grund))
        e.fehlendeDateien.push_back(SeitenName(0));

    fs::path arbeitsordner = ordner.lexically_normal();
    if (!arbeitsordner.has_filename())
        arbeitsordner = arbeitsordner.parent_path();
    arbeitsordner = arbeitsordner.parent_path();
    const std::string bilderOrdner(kBilderOrdner);
    const auto bildFehler = BilderErzeugen(arbeitsordner / "data" / bilderOrdner, ordner / bilderOrdner,
                                           bilder, arbeitsordner / kBildCache);
    for (const auto& [name, grund] : bildFehler) {
        e.fehlendeDateien.push_back(bilderOrdner + "/" + name);
        if (e.grund.empty())
            e.grund = "Bild " + name + ": " + grund;
        bilder.erase(name);
    }
    for (const std::string& name : bilder)
        e.bilder.push_back(bilderOrdner + "/" + name);
    return e;
}

} // namespace velmaro
