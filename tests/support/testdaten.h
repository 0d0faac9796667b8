#pragma once
// Data folders for tests, built by the program's own writer.

#include "site/generator.h"
#include "store/zustand.h"

#include <filesystem>
#include <string>

namespace velmaro::test {

// The settings by their place in the two files: 0-3 the FTP access lines, 4-19 the style texts,
// 20-21 the pictures' margins.
inline std::string& Einstellung(VelmaroZustand& z, int i) {
    FtpZugangsdaten& f = z.m_ftp;
    StyleWerte& s = z.m_style;
    std::string* const alle[] = {
        &f.name,           &f.adresse,     &f.zugangsname,  &f.passwort,           &s.datumHintergrund,
        &s.datumBreite,    &s.datumFarbe,  &s.datumGroesse, &s.datumSchrift,       &s.overHintergrund,
        &s.overBreite,     &s.overFarbe,   &s.overGroesse,  &s.overSchrift,        &s.textHintergrund,
        &s.textFarbe,      &s.textGroesse, &s.textSchrift,  &s.tabelleHintergrund, &s.tabelleBreite,
        &s.bildHorizontal, &s.bildVertikal};
    return *alle[i];
}

// "Update Website" on the state's own folder.
inline GeneratorErgebnis Erzeugen(VelmaroZustand& z, const std::function<void()>& ersteSeite = {}) {
    return WebsiteErzeugen(z.m_artikelListe, z.m_artikelProSeite, z.m_style, z.m_ftp, z.ausgabeOrdner(),
                           ersteSeite);
}

// Two distinct versions of everything "Beenden" saves, for the tests that kill a program while it
// saves: afterwards each file must hold one of them, whole.
inline VelmaroZustand Fassung(int fassung, const std::filesystem::path& ordner) {
    const std::string f = std::to_string(fassung);
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_artikelProSeite = fassung ? "7" : "5";
    // A few hundred articles, so a save takes long enough to be interrupted part-way.
    for (int i = 0; i < 300 + fassung; ++i)
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 1 + i % 12, 1 + i % 28),
                                  "Artikel " + std::to_string(i) + " Fassung " + f,
                                  std::string(100 + i, static_cast<char>('a' + (i + fassung) % 26))});
    z.m_ftp = {"Seite " + f, "ftp://example.de", "benutzer", "Passwort-" + f,
               fassung ? "https://example.de/" : ""};
    for (int i = 4; i < 20; ++i)
        Einstellung(z, i) = "Wert " + std::to_string(i) + " Fassung " + f;
    z.m_style.datumBold = fassung;
    z.m_style.overUnderline = 1 - fassung;
    return z;
}

// data/ of ordner with anzahl short articles, "Meldung 1" the newest, and the per-page value.
inline void ArtikelDateiSchreiben(const std::filesystem::path& ordner, int anzahl,
                                  const std::string& proSeite) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_artikelProSeite = proSeite;
    for (int i = 1; i <= anzahl; ++i)
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), "Meldung " + std::to_string(i), "Text"});
    z.DateienSchreiben();
}

} // namespace velmaro::test
