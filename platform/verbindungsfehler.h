#pragma once
// What every connection of the upload shares, whichever protocol carries it: the failed step and its
// reason, what went wrong, and the time limits.
//
// Strings are Windows-1252 as stored; error texts are UTF-8 and never contain the password.

#include <chrono>
#include <string>

namespace velmaro {

// The step of the conversation with the server that failed.
enum class FtpSchritt { Einstellungen, Verbindungsaufbau, Anmeldung, Ordner, Senden };

struct FtpFehler {
    FtpSchritt schritt = FtpSchritt::Einstellungen;
    // Why, in plain German (UTF-8).
    std::string grund;
    // The server's last reply line ("530 Login incorrect."), empty when it sent none.
    std::string antwort;
    // Further transfers would fail the same way: the server is gone, stalled or full.
    bool weitereZwecklos = false;
};

// CR and LF would let a value end an FTP command and append one of its own (libcurl passes user
// name and password through unchecked), so no setting with a control character reaches a server.
bool hatSteuerzeichen(const std::string& s);
// The reason given for a field holding a control character (UTF-8).
std::string SteuerzeichenGrund(const char* feld);

// The step's name as the messages show it ("Anmeldung").
std::string SchrittName(FtpSchritt schritt);
// Step, reason and the server's answer on separate lines.
std::string FehlerText(const FtpFehler& fehler);

// A transfer slower than this for the time FtpZeitlimits::stillstand is given up as stalled.
inline constexpr long kStillstandBytesProSekunde = 100;

struct FtpZeitlimits {
    // Connecting, waiting for a reply, waiting for the server's data connection, a stalled transfer.
    std::chrono::seconds verbinden{30};
    std::chrono::seconds antwort{30};
    // Active mode: for the reply to PORT and for the server's data connection. Beyond it the server
    // is taken to be unable to reach this computer, and passive mode is used.
    std::chrono::seconds datenverbindung{5};
    std::chrono::seconds stillstand{30};
};

// What went wrong, for whoever must tell the cases apart (the upload, the connection test, the
// batch mode).
enum class Fehlerart {
    Keiner,
    Einstellungen,
    // The settings name no server at all.
    KeineAdresse,
    HostUnbekannt,
    PortGeschlossen,
    Zeitueberschreitung,
    TlsAbgelehnt,
    // The server refused PROT P: the files would go unencrypted.
    VerschluesselungAbgelehnt,
    IdentitaetUnbekannt,
    IdentitaetGeaendert,
    AnmeldungAbgelehnt,
    // 421: the server takes no (further) connection now.
    ServerAbweisend,
    // Active mode: the server's data connection did not come.
    DatenverbindungFehlt,
    Ordner,
    Senden,
    // The server's listing exceeds kListeHoechstBytes or kListeHoechstEintraege.
    ListeZuGross,
    Abgebrochen,
    Sonstiges,
};

} // namespace velmaro
