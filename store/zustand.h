#pragma once
// The site folder's state: the article list with its per-page value, the style values and the FTP
// access, and the reading, writing, snapshot and backup of the three files in data/. The main window
// and the batch mode both hold one.

#include "platform/file.h"
#include "store/artikel.h"
#include "store/datendateien.h"
#include "store/einstellungen.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmaro {

// A message for the user, UTF-8. A failure keeps the window open; a notice does not.
struct Hinweis {
    std::string text;
    std::string titel;
    bool fehler = true;
};

enum class Ladezustand {
    Fehlt,       // does not exist or is empty: passed over
    Gelesen,     // read completely
    Beschaedigt, // read up to a damaged value; what came before it is kept
    Unlesbar     // exists but cannot be read: left alone for the whole run (see m_gesperrt)
};

class VelmaroZustand {
public:
    // Article file and list.
    bool DatenLaden(Device& file);
    bool DatenSpeichern(Device& file);
    // Before the first strictly older article.
    bool ArtikelEinfuegen(const Artikel& neu);
    // The lines of the article selection list, head first.
    std::vector<std::string> ListenZeilen();
    // The articles-per-page value as a number: its leading decimal digits, 0 without any.
    static int ZahlAusText(const std::string& text);

    // Style settings file.
    bool StyleConfigLaden(Device& file);
    bool StyleConfigSpeichern(Device& file);

    // FTP settings file.
    void FtpConfigLesen(TextFile& file);
    bool FtpConfigSpeichern(Device& file);
    // The file's text before its line ends become CR LF.
    std::string FtpConfigText() const;

    // The start-up reads and the "Beenden" writes, relative to m_ordner.
    Ladezustand DatenDateiLesen();
    Ladezustand FtpDateiLesen();
    Ladezustand StyleDateiLesen();
    // The message for a file the start found unreadable, naming it and the reason.
    Hinweis UnlesbarText(Datendatei datei) const;
    // Removes temporary files a crash during an earlier save left in data/.
    void ResteEntfernen();
    // Writes the files of kZustandsDateien, each replaced atomically; creates data/
    // when missing. Returns one message per file that could not be written, and a notice per file
    // left alone (unreadable at start, or made read-only by the user); what this run would have
    // written there is kept beside it as <name>.neu when it differs.
    std::vector<Hinweis> DateienSchreiben();
    // One of them (any other file of data/ is refused); the message when it failed.
    std::optional<Hinweis> DateiSchreiben(Datendatei datei);
    // The three files' bytes as DateienSchreiben would write them, to tell whether a run changed
    // anything.
    std::string Schnappschuss();
    // One file's bytes as DateiSchreiben would write them.
    std::string DateiInhalt(Datendatei datei);

    std::filesystem::path datenPfad(Datendatei datei) const { return m_ordner / "data" / DateiName(datei); }
    std::filesystem::path ausgabeOrdner() const { return m_ordner / "output"; }

    // True when daten.bit on disk is no longer what this run read or last wrote there (another
    // program replaced it).
    bool DatenAufPlatteGeaendert() const;
    // "Beenden" leaves daten.bit as it is and keeps this run's list beside it as daten.bit.neu.
    void DatenNichtErsetzen(const std::string& grund);

    // Keeps a copy of a damaged file beside it before it is replaced; an identical earlier copy is
    // reused. Returns the copy's path, empty when no copy could be made.
    static std::filesystem::path SicherungAnlegen(const std::filesystem::path& file);

    std::filesystem::path m_ordner = ".";

    Artikelliste m_artikelListe;
    Artikelliste::Position m_position;
    std::string m_artikelProSeite;
    // data/ files the start could not read: never replaced in this run.
    struct Sperre {
        std::string grund;  // UTF-8
        std::string inhalt; // the file's bytes as the run started without it
    };
    std::map<Datendatei, Sperre> m_gesperrt;
    FtpZugangsdaten m_ftp;
    StyleWerte m_style;

private:
    // SHA-256 of daten.bit as read or last written; empty for a missing or empty file.
    std::string m_datenStand;
};

} // namespace velmaro
