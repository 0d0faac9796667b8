#pragma once
// The one connection of an upload over FTP, FTPS (explicit TLS, passive) or SFTP, on libcurl, with the
// server's identity checked before the password is sent: a certificate valid for the host by the
// system's certificate store, or one whose fingerprint the user trusts; for SFTP the trusted host
// key. libcurl is restricted to the one protocol the address names.
//
// Strings are Windows-1252 as stored; error texts are UTF-8 and never contain the password.

#include "platform/serveradresse.h"
#include "platform/serverzugang.h"
#include "platform/verbindungsfehler.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace velmaro {

enum class Identitaet {
    Offen,         // not seen yet, or plain FTP
    Systemgueltig, // certificate valid for the host by the system's store
    Vertraut,      // the fingerprint the user trusts
    Unbekannt,     // nothing recorded for this server: refused, the user may trust it
    Geaendert,     // differs from the recorded one: refused
};

struct ServerIdentitaet {
    Identitaet stand = Identitaet::Offen;
    // What the server presented: "AB:CD:…" (SHA-256 of the certificate) or "SHA256:…" (host key).
    std::string fingerabdruck;
    // The certificate's subject (UTF-8); empty for a host key.
    std::string inhaber;
    // The recorded fingerprint it was compared with; empty when none.
    std::string gespeichert;
};

class Serververbindung {
public:
    // Prepares the connection to the server of zugang (a value of ZugangLesen, so free of control
    // characters); nothing is sent yet. Null with fehler set when libcurl cannot start.
    static std::unique_ptr<Serververbindung> Oeffnen(const Serverzugang& zugang, FtpFehler& fehler);
    ~Serververbindung();
    Serververbindung(const Serververbindung&) = delete;
    Serververbindung& operator=(const Serververbindung&) = delete;

    // Logs in on first use and says whether ordner exists below the login folder; creates nothing.
    // False with letzterFehler() when the question could not be answered.
    bool OrdnerPruefen(const std::string& ordner, bool& vorhanden);
    // Logs in on first use, then makes ordner (below the login folder) the folder files go to,
    // creating it when it does not exist.
    bool OrdnerWechseln(const std::string& ordner);
    // Puts the local file under name into that folder, binary, replacing a file of that name.
    bool DateiSenden(const std::filesystem::path& lokal, const std::string& name);
    // Removes the file name from that folder: DELE on FTP, rm on SFTP.
    bool DateiLoeschen(const std::string& name);
    // The sizes of the files in that folder, by one listing (MLSD, else LIST on FTP; the folder's
    // listing on SFTP); an empty folder gives an empty map. Nothing when the server cannot list, or
    // lists in a form not understood, or too much (letzteFehlerart() ListeZuGross).
    std::optional<std::map<std::string, std::uint64_t>> Groessen();
    // One file's size (SIZE on FTP, stat on SFTP); nothing when the server does not tell it.
    std::optional<std::uint64_t> Groesse(const std::string& name);
    void Schliessen();

    const FtpFehler& letzterFehler() const { return m_fehler; }
    Fehlerart letzteFehlerart() const { return m_art; }
    // Plain FTP: passive data connections (PASV) from the next transfer on; nothing for the others.
    void PassivSetzen();
    // Once *aufgeben is true, whatever the connection waits for is given up (Fehlerart::Abgebrochen).
    void AufgebenWenn(const std::atomic<bool>* aufgeben);
    const ServerIdentitaet& identitaet() const;

private:
    struct Impl;
    explicit Serververbindung(std::unique_ptr<Impl> impl);
    // False, with the error set, once the connection is closed.
    bool offen();
    void fehlschlag(int code, FtpSchritt schritt, const std::string& name);
    // The outcome of a transfer step on the file name: true, or false after fehlschlag.
    bool sendeErgebnis(int code, const std::string& name);

    std::unique_ptr<Impl> d;
    FtpFehler m_fehler;
    Fehlerart m_art = Fehlerart::Keiner;
};

// The message for a certificate or host key that was refused (UTF-8): what was presented, what
// was recorded, and what the user can do.
std::string IdentitaetText(const ServerIdentitaet& identitaet, Protokoll protokoll);

} // namespace velmaro
