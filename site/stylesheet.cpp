// style.css: the seven classes of the generated pages, from the sixteen style values and four flags.
#include "site/generator.h"

namespace velmaro {

std::string StylesheetText(const VelmaroZustand& z) {
    const auto& e = z.m_einstellungen;
    const std::string_view fett = "font-weight:bold;";
    const std::string_view unterstrichen = "text-decoration:underline;";
    const std::string_view datumBold = z.m_datumBold ? fett : std::string_view{};
    const std::string_view datumUnderline = z.m_datumUnderline ? unterstrichen : std::string_view{};
    const std::string_view overBold = z.m_overBold ? fett : std::string_view{};
    const std::string_view overUnderline = z.m_overUnderline ? unterstrichen : std::string_view{};

    // The property order differs from class to class and is part of the file's format.
    const std::string_view teile[] = {
        ".newstable{border-Bottom-Width:0;border-Top-Width:0px;border-Left-Width:0px;border-Right-Width:0px;"
        "width:",
        e[19],
        ";background-color:",
        e[18],
        ";}.over{width:",
        e[10],
        "; padding:2px; background-color:",
        e[9],
        ";}.over_text{color:",
        e[11],
        ";font-size:",
        e[12],
        "; font-family:",
        e[13],
        ";",
        overBold,
        overUnderline,
        "}.text{padding:2px;background-color:",
        e[14],
        ";}.datum{background-color:",
        e[4],
        "; width:",
        e[5],
        "; white-space:nowrap; padding:2px;}.datum_text{font-size:",
        e[7],
        ";",
        datumUnderline,
        "font-family:",
        e[8],
        "; ",
        datumBold,
        "color:",
        e[6],
        "}.text_text{color:",
        e[15],
        "; font-family:",
        e[17],
        ";font-size:",
        e[16],
        ";}",
    };
    std::size_t laenge = 0;
    for (std::string_view t : teile)
        laenge += t.size();
    std::string css;
    css.reserve(laenge);
    for (std::string_view t : teile)
        css += t;
    return css;
}

} // namespace velmaro
