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
    // Without a new output/ the preview keeps its previous pages too.
    if (erzeugt != 0)
        return erzeugt;
    const VorschauErgebnis e = VorschauSchreiben(z.ausgabeOrdner(), lauf.dateien, z.m_ordner / "vorschau");
    if (e.ersteSeite.empty()) {
        err << "velmaro: vorschau/ nicht ersetzt" << (e.grund.empty() ? "" : " (" + e.grund + ")") << '\n';
        return 1;
    }
    if (!e.fehlendeDateien.empty()) {
        err << "velmaro: Vorschau unvollständig, nicht geschrieben:";
        for (const std::string& name : e.fehlendeDateien)
            err << ' ' << name;
        err << '\n';
    }
    out << e.ersteSeite.string() << '\n';
    return e.fehlendeDateien.empty() ? 0 : 1;
}

} // namespace velmaro
