#pragma once
// The two settings files' values: the FTP access and the style values of the generated pages.

#include <cstdint>
#include <string>

namespace velmaro {

// data/ftpconfig.bit, one line each.
struct FtpZugangsdaten {
    std::string name;
    std::string adresse;
    std::string zugangsname;
    std::string passwort;
    // The site's public address: a fifth line, written only when set, so that a file without it
    // keeps its four lines.
    std::string website = {};
    bool operator==(const FtpZugangsdaten&) const = default;
};

// data/styleconfig.bit: texts as typed into the style dialog; the flags are off until a style file
// or the dialog sets them.
struct StyleWerte {
    std::string datumHintergrund;
    std::string datumBreite;
    std::string datumFarbe;
    std::string datumGroesse;
    std::string datumSchrift;
    std::string overHintergrund;
    std::string overBreite;
    std::string overFarbe;
    std::string overGroesse;
    std::string overSchrift;
    std::string textHintergrund;
    std::string textFarbe;
    std::string textGroesse;
    std::string textSchrift;
    std::string tabelleHintergrund;
    std::string tabelleBreite;
    std::int32_t datumBold = 0;
    std::int32_t datumUnderline = 0;
    std::int32_t overBold = 0;
    std::int32_t overUnderline = 0;
    // The pictures' margins; empty gives no rule. Stored after the flags only when set, so that
    // files without them read and write as before.
    std::string bildHorizontal;
    std::string bildVertikal;
    bool operator==(const StyleWerte&) const = default;
};

} // namespace velmaro
