// style.css: the seven classes of the generated pages, from the sixteen style values and four flags,
// and the pictures' margins.
#include "site/generator.h"

namespace velmaro {

std::string StylesheetText(const StyleWerte& s) {
    const std::string_view fett = "font-weight:bold;";
    const std::string_view unterstrichen = "text-decoration:underline;";
    const std::string_view datumBold = s.datumBold ? fett : std::string_view{};
    const std::string_view datumUnderline = s.datumUnderline ? unterstrichen : std::string_view{};
    const std::string_view overBold = s.overBold ? fett : std::string_view{};
    const std::string_view overUnderline = s.overUnderline ? unterstrichen : std::string_view{};

    // The property order differs from class to class and is part of the file's format.
    const std::string_view teile[] = {
        ".newstable{border-Bottom-Width:0;border-Top-Width:0px;border-Left-Width:0px;border-Right-Width:0px;"
        "width:",
        s.tabelleBreite,
        ";background-color:",
        s.tabelleHintergrund,
        ";}.over{width:",
        s.overBreite,
        "; padding:2px; background-color:",
        s.overHintergrund,
        ";}.over_text{color:",
        s.overFarbe,
        ";font-size:",
        s.overGroesse,
        "; font-family:",
        s.overSchrift,
        ";",
        overBold,
        overUnderline,
        "}.text{padding:2px;background-color:",
        s.textHintergrund,
        ";}.datum{background-color:",
        s.datumHintergrund,
        "; width:",
        s.datumBreite,
        "; white-space:nowrap; padding:2px;}.datum_text{font-size:",
        s.datumGroesse,
        ";",
        datumUnderline,
        "font-family:",
        s.datumSchrift,
        "; ",
        datumBold,
        "color:",
        s.datumFarbe,
        "}.text_text{color:",
        s.textFarbe,
        "; font-family:",
        s.textSchrift,
        ";font-size:",
        s.textGroesse,
        ";}",
    };
    std::size_t laenge = 0;
    for (std::string_view t : teile)
        laenge += t.size();
    std::string css;
    css.reserve(laenge);
    for (std::string_view t : teile)
        css += t;
    // The pictures' margins follow the classes; without them the file is as it always was.
    if (!s.bildHorizontal.empty() || !s.bildVertikal.empty()) {
        css += ".text_text img{";
        if (!s.bildHorizontal.empty())
            css += "margin-left:" + s.bildHorizontal + ";margin-right:" + s.bildHorizontal + ";";
        if (!s.bildVertikal.empty())
            css += "margin-top:" + s.bildVertikal + ";margin-bottom:" + s.bildVertikal + ";";
        css += "}";
    }
    return css;
}

} // namespace velmaro
