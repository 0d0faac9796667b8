#include "app/vorschaubatch.h"

#include "app/batch.h"
#include "site/generator.h"
#include "site/vorschau.h"
#include "store/zustand.h"

#include <ostream>

namespace velmaro {

int VorschauErzeugen(VelmaroZustand& z, std::ostream& out, std::ostream& err) {
    GeneratorErgebnis lauf;
    const int erzeugt = Generieren(z, lauf, err, err);
    // Nothing generated at all (no folder, damaged data): no preview of an old site either.
    if (erzeugt != 0 && lauf.fehlendeDateien.empty())
        return erzeugt;
    const VorschauErgebnis e =
        VorschauSchreiben(z.ausgabeOrdner(), lauf.anzahlSeiten, lauf.anzahlArtikel, z.m_ordner / "vorschau");
    if (!e.fehlendeDateien.empty()) {
        err << "velmaro: Vorschau unvollständig, nicht geschrieben:";
        for (const std::string& name : e.fehlendeDateien)
            err << ' ' << name;
        err << '\n';
    }
    if (e.ersteSeite.empty())
        return 1;
    out << e.ersteSeite.string() << '\n';
    return erzeugt == 0 && e.fehlendeDateien.empty() ? 0 : 1;
}

} // namespace velmaro
