#pragma once
// Data folders for tests, built by the program's own writer.

#include "app/zustand.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace velmaro::test {

// Two distinct versions of everything "Beenden" saves, for the tests that kill a program while it
// saves: afterwards each file must hold one of them, whole.
inline void FassungFuellen(VelmaroZustand& z, int fassung, const std::filesystem::path& ordner) {
    const std::string f = std::to_string(fassung);
    z.m_ordner = ordner;
    z.m_artikelProSeite = fassung ? "7" : "5";
    // A few hundred articles, so a save takes long enough to be interrupted part-way.
    for (int i = 0; i < 300 + fassung; ++i)
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 1 + i % 12, 1 + i % 28),
                                  "Artikel " + std::to_string(i) + " Fassung " + f,
                                  std::string(100 + i, static_cast<char>('a' + (i + fassung) % 26))});
    z.m_einstellungen = {"Seite " + f, "ftp://example.de", "benutzer", "Passwort-" + f};
    for (std::size_t i = 4; i < z.m_einstellungen.size(); ++i)
        z.m_einstellungen[i] = "Wert " + std::to_string(i) + " Fassung " + f;
    z.m_datumBold = fassung;
    z.m_overUnderline = 1 - fassung;
}

// data/ of ordner with anzahl short articles, "Meldung 1" the newest, and the per-page value.
inline void ArtikelDateiSchreiben(const std::filesystem::path& ordner, int anzahl,
                                  const std::string& proSeite) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_artikelProSeite = proSeite;
    for (int i = 1; i <= anzahl; ++i)
        z.m_artikelListe.addTail({DateTime::fromParts(2003, 5, 1), "Meldung " + std::to_string(i), "Text"});
    if (!z.DateienSchreiben().empty())
        throw std::runtime_error("the test data could not be written");
}

} // namespace velmaro::test
