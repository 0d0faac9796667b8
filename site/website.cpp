// "Update Website" without the window: writes style.css, the index pages with their article pages,
// and the page menu into output/.
#include "site/generator.h"

#include "platform/file.h"
#include "store/zustand.h"

#include <cstdint>
#include <optional>
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
bool dateiSchreiben(const fs::path& pfad, std::string_view bytes) {
    SaveFile datei(pfad, 0644, SaveFile::NoSync);
    if (ordnerImWeg(pfad) || !datei.open())
        return false;
    try {
        datei.write(bytes.data(), bytes.size());
    } catch (const FileError&) {
        return false;
    }
    return datei.commit();
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
    bool erstellen(const fs::path& pfad) {
        m_puffer.clear();
        m_datei.emplace(pfad, 0644, SaveFile::NoSync);
        m_ok = !ordnerImWeg(pfad) && m_datei->open();
        return m_ok;
    }
    std::string& puffer() { return m_puffer; }
    void vielleichtLeeren() {
        if (m_puffer.size() >= kSchwelle)
            leeren();
    }
    // False when some of the page's bytes did not reach the file.
    bool schliessen() {
        leeren();
        m_ok = m_ok && m_datei->commit();
        m_datei.reset();
        return m_ok;
    }

private:
    static constexpr std::size_t kSchwelle = 1 << 16;

    void leeren() {
        if (m_ok && !m_puffer.empty()) {
            try {
                m_datei->write(m_puffer.data(), m_puffer.size());
            } catch (const FileError&) {
                m_ok = false;
            }
        }
        m_puffer.clear();
    }

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

    if (!dateiSchreiben(ordner / kStylesheetName, StylesheetText(style)))
        e.fehlendeDateien.push_back(kStylesheetName);

    const std::int64_t proSeite = VelmaroZustand::ZahlAusText(artikelProSeite);
    e.anzahlSeiten = 1;

    IndexSeite seite;
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

            artikelSeite.clear();
            ArtikelSeiteAnhaengen(artikelSeite, a);
            if (!dateiSchreiben(ordner / artikelName, artikelSeite))
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

    if (!dateiSchreiben(ordner / SeitenName(0), MenuText(e.anzahlSeiten)))
        e.fehlendeDateien.push_back(SeitenName(0));
    return e;
}

} // namespace velmaro
