// "Update Website": what the window shows after generating output/, before the upload.
#include "site/updatewebsite.h"

#include "platform/cp1252.h"

namespace velmaro {

std::string UnvollstaendigText(const GeneratorErgebnis& erzeugt) {
    const std::vector<std::string>& fehlend = erzeugt.fehlendeDateien;
    if (fehlend.empty())
        return {};
    // The line has room for a few names; a full disk can fail thousands of files.
    constexpr std::size_t kGezeigt = 3;
    std::string namen;
    for (std::size_t i = 0; i < fehlend.size() && i < kGezeigt; ++i)
        namen += (i ? ", " : "") + cp1252::toUtf8(fehlend[i]);
    if (fehlend.size() > kGezeigt)
        namen += ", und " + std::to_string(fehlend.size() - kGezeigt) + " weitere";
    return "Die Dateien wurden nicht vollständig erstellt!\nNicht geschrieben: " + namen;
}

} // namespace velmaro
