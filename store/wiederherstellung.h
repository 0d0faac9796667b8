#pragma once
// The recovery file: every change the window holds but has not yet written to data/, appended as
// it happens, so that a kill, a crash or a logout costs nothing typed. "Beenden" and "Ohne
// Speichern beenden" remove it; the next start offers what it still holds.

#include "store/artikel.h"
#include "store/zustand.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmaro {

struct Aenderung {
    enum class Art : std::int32_t {
        Neu = 1,       // neu inserted
        Geaendert,     // alt replaced by neu
        Geloescht,     // alt removed
        ProSeite,      // the articles-per-page value became wert
        Einstellungen, // FTP text in wert, style file bytes in stil
        Entwurf        // the fields at the end of a session: neu, and alt when it was opened for editing
    };
    Art art = Art::Neu;
    DateTime zeit;
    Artikel alt;
    Artikel neu;
    std::string wert;
    std::string stil;
    bool mitAlt = false;
};

class Wiederherstellung {
public:
    explicit Wiederherstellung(std::filesystem::path datei = {}) : m_datei(std::move(datei)) {}

    // Appends one change and flushes it to the disk. False with fehlerText() when it could not be
    // written whole; the file is then cut back to its last complete change.
    bool Anhaengen(const Aenderung& a);
    // The changes in the file; a change cut short by a crash or a full disk is left out. Nothing
    // when the file does not exist.
    std::optional<std::vector<Aenderung>> Lesen();
    // Replaces the file by these changes (for example without an old draft).
    bool Ersetzen(const std::vector<Aenderung>& aenderungen);
    // The file ends: the changes are written, or the user discarded them.
    void Entfernen();
    // Moves the file aside as <name>.bak (numbered when taken); its path, empty when that failed.
    std::filesystem::path Beiseitelegen();

    const std::filesystem::path& datei() const { return m_datei; }
    void setDatei(std::filesystem::path datei) { m_datei = std::move(datei); }
    const std::string& fehlerText() const { return m_fehler; }

private:
    std::filesystem::path m_datei;
    std::string m_fehler;
};

// Applies the changes to the list, the per-page value and the settings. Returns the last draft
// when nothing came after it.
std::optional<Aenderung> AenderungenAnwenden(VelmaroZustand& z, const std::vector<Aenderung>& aenderungen);

// "3 Änderungen vom 07.12.2026 14:03": how many, and when the last was made.
std::string AenderungenBeschreiben(const std::vector<Aenderung>& aenderungen);

} // namespace velmaro
