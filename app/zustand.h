#pragma once
// Everything a run of velmaro holds, and the operations on it that need no window: reading and
// writing the three files in data/, the article list operations and the editor's current article.
// The main window and the batch mode both build on this class.

#include "platform/file.h"
#include "store/artikel.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmaro {

// A message for the user, UTF-8.
struct Hinweis {
    std::string text;
    std::string titel;
};

enum class Ladezustand {
    Fehlt,      // missing or empty: passed over
    Gelesen,    // read completely
    Beschaedigt // read up to a damaged value; what came before it is kept
};

class VelmaroZustand {
public:
    VelmaroZustand();

    // Article file and list.
    bool DatenLaden(Device& file);
    bool DatenSpeichern(Device& file);
    bool ArtikelEinfuegen();
    bool ArtikelEntfernen(const std::string& ueberschrift);
    // The lines of the article selection list, head first.
    std::vector<std::string> ListenZeilen();
    // The articles-per-page value as a number: its leading decimal digits, 0 without any.
    static int ZahlAusText(const std::string& text);

    // Style settings file.
    bool StyleConfigLaden(Device& file);
    bool StyleConfigSpeichern(Device& file);

    // FTP settings file.
    void FtpConfigLesen(TextFile& file);
    // The file's text before its line ends become CR LF.
    std::string FtpConfigText() const;

    // The start-up reads and the "Beenden" writes, relative to m_ordner.
    Ladezustand DatenDateiLesen();
    bool FtpDateiLesen(); // false when the file cannot be opened
    Ladezustand StyleDateiLesen();
    // Writes ftpconfig.bit, daten.bit and styleconfig.bit, each replaced atomically; creates data/
    // when missing. Returns one message per file that could not be written.
    std::vector<Hinweis> DateienSchreiben();
    // One of them ("ftpconfig.bit", "daten.bit" or "styleconfig.bit"); the message when it failed.
    std::optional<Hinweis> DateiSchreiben(const char* name);
    // The three files' bytes as DateienSchreiben would write them, to tell whether a run changed
    // anything.
    std::string Schnappschuss();

    std::filesystem::path datenPfad(const char* name) const { return m_ordner / "data" / name; }
    std::filesystem::path ausgabeOrdner() const { return m_ordner / "output"; }

    // Keeps a copy of a damaged file beside it before it is replaced; an identical earlier copy is
    // reused. Returns the copy's path, empty when no copy could be made.
    static std::filesystem::path SicherungAnlegen(const std::filesystem::path& file);

    std::filesystem::path m_ordner = ".";

    Artikelliste m_artikelListe;
    std::array<std::string, 2> m_marker;
    Artikelliste::Position m_position;
    std::string m_ueberschrift;
    std::string m_textinhalt;
    DateTime m_datum;
    std::int32_t m_anzahlArtikel = 0;
    std::string m_artikelProSeite;
    std::int32_t m_anzahlSeiten = 0;
    // Files the last generator run could not write (output/ names); empty after a complete run.
    std::vector<std::string> m_fehlendeDateien;
    // 0-3 FTP access (name, address, user, password), 4-19 style values.
    std::array<std::string, 20> m_einstellungen;
    // Off until a style file or the style dialog sets them.
    std::int32_t m_datumBold = 0;
    std::int32_t m_datumUnderline = 0;
    std::int32_t m_overBold = 0;
    std::int32_t m_overUnderline = 0;
};

} // namespace velmaro
