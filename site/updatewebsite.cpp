// "Update Website": what the window shows after generating output/, before the upload.
#include "site/updatewebsite.h"

#include "platform/cp1252.h"

namespace velmaro {

namespace {
// The first few names; a full disk can fail thousands of files.
std::string namen(const std::vector<std::string>& fehlend) {
    constexpr std::size_t kGezeigt = 3;
    std::string text;
    for (std::size_t i = 0; i < fehlend.size() && i < kGezeigt; ++i)
        text += (i ? ", " : "") + cp1252::toUtf8(fehlend[i]);
    if (fehlend.size() > kGezeigt)
        text += ", und " + std::to_string(fehlend.size() - kGezeigt) + " weitere";
    return text;
}
} // namespace

std::string UnvollstaendigText(const GeneratorErgebnis& erzeugt) {
    if (erzeugt.fehlendeDateien.empty())
        return {};
    return "Die Dateien wurden nicht vollständig erstellt!\nNicht geschrieben: " +
           namen(erzeugt.fehlendeDateien);
}

std::string ErzeugungsFehlerText(const GeneratorErgebnis& erzeugt) {
    const std::size_t n = erzeugt.fehlendeDateien.size();
    std::string text =
        n == 1 ? "Eine Datei konnte nicht in den Ordner output geschrieben werden"
               : std::to_string(n) + " Dateien konnten nicht in den Ordner output geschrieben werden";
    if (!erzeugt.grund.empty())
        text += " (" + erzeugt.grund + ")";
    return text + ":\n" + namen(erzeugt.fehlendeDateien) +
           ".\nEs wurde nichts übertragen; die Website auf dem Server bleibt, wie sie war.";
}

} // namespace velmaro
