#pragma once
// The site folder's state: the article list with its per-page value, the style values and the FTP
// access, and the reading, writing, snapshot and backup of the three files in data/. The main window
// and the batch mode both hold one.

#include "platform/file.h"
#include "store/artikel.h"
#include "store/einstellungen.h"

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
    // Article file and list.
    bool DatenLaden(Device& file);
    bool DatenSpeichern(Device& file);
    // Before the first strictly older article.
    bool ArtikelEinfuegen(const Artikel& neu);
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
    std::string m_artikelProSeite;
    FtpZugangsdaten m_ftp;
    StyleWerte m_style;
};

} // namespace velmaro
