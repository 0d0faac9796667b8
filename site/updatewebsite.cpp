// "Update Website": what the window shows after generating output/, before the upload.
#include "site/updatewebsite.h"

namespace velmaro {

std::string UnvollstaendigText(const GeneratorErgebnis& erzeugt) {
    if (erzeugt.fehlendeDateien.empty())
        return {};
    return "Die Dateien wurden nicht erstellt!\n" + erzeugt.grund;
}

std::string ErzeugungsFehlerText(const GeneratorErgebnis& erzeugt) {
    return "Der Ordner output konnte nicht erneuert werden (" + erzeugt.grund +
           "); er enthält weiter die vorige Website.\nEs wurde nichts übertragen; die Website auf dem "
           "Server bleibt, wie sie war.";
}

} // namespace velmaro
