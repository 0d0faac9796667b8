#pragma once
// The FTP upload of the generated files into the remote folder "data", without a window: the main
// window and the batch mode run it and show what it reports through an UploadBeobachter.
//
// Only what changed is sent: data/uebertragen.bit records every file whose arrival was confirmed,
// and one listing of the remote folder shows what someone else changed there. Up to four
// connections send at once; every observer call is made by one thread at a time, in upload order
// for the files' outcomes.

#include "platform/serververbindung.h"
#include "platform/verbindungsfehler.h"
#include "site/generator.h"
#include "store/einstellungen.h"
#include "store/ereignis.h"
#include "store/uebertragen.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmaro {

// Texts are UTF-8.
class UploadBeobachter {
public:
    virtual ~UploadBeobachter() = default;
    // The upload's events of the event display.
    virtual void Ereignis(Ereignisart art) = 0;
    // "Übertrage Seite " and the file's name, before each file but the stylesheet.
    virtual void Fortschritt(const std::string& text) = 0;
    // A message the user must acknowledge.
    virtual void Meldung(const std::string& text, const std::string& titel) = 0;
    virtual void DateiGesendet(const std::string& name);
    // A file arrived, whichever connection sent it, as soon as it did (for a running count).
    virtual void Angekommen() {}
    // Shows NichtGesendetText(name) with an empty caption; grund is for those who can show more.
    virtual void DateiNichtGesendet(const std::string& name, const std::string& grund);
    // A file left out after the upload was given up; the closing message names it.
    virtual void DateiNichtVersucht(const std::string& name);
    // The server showed a certificate or host key that is not trusted (text says which, with its
    // fingerprint); geaendert when another one is recorded for it. True trusts it from now on.
    // Nobody asked: never trusted silently.
    virtual bool IdentitaetVertrauen(const std::string& text, bool geaendert);
    // How many files this upload sends and how many the server holds already, once it knows.
    virtual void Umfang(int zuSenden, int aktuell) {
        (void)zuSenden;
        (void)aktuell;
    }
    // Asked before each file: true ends the upload there (the user pressed "Abbrechen").
    virtual bool Abgebrochen() { return false; }
    // How this user repeats an upload, for the closing message; empty when there is no way to say.
    virtual std::string Wiederholen() const { return {}; }
};

// Reports on a terminal, for the batch mode: one line per file sent or not sent, with the reason.
class TextBeobachter : public UploadBeobachter {
public:
    explicit TextBeobachter(std::ostream& aus) : m_aus(aus) {}
    void Ereignis(Ereignisart art) override;
    void Fortschritt(const std::string&) override {}
    void Meldung(const std::string& text, const std::string& titel) override;
    void DateiGesendet(const std::string& name) override;
    void DateiNichtGesendet(const std::string& name, const std::string& grund) override;
    void DateiNichtVersucht(const std::string& name) override;
    // Prints the text; the batch mode never trusts.
    bool IdentitaetVertrauen(const std::string& text, bool geaendert) override;
    std::string Wiederholen() const override;

private:
    std::ostream& m_aus;
};

inline constexpr const char* kOrdnerMeldung = "Konnte nicht in den Ausgabordner wechseln";
inline constexpr const char* kUploadOrdner = "data";
// The caption of the question about a server whose certificate or host key changed.
inline constexpr const char* kIdentitaetGeaendert = "Die Identität des Servers hat sich geändert";

// For an upload that found every file current on the server.
std::string AktuellText(int aktuell);
// "N alte Seiten vom Server entfernt"
std::string EntferntText(int entfernt);
// "<name> konnte nicht gesendet werden"
std::string NichtGesendetText(const std::string& name);

struct UploadErgebnis {
    bool verbunden = false;
    int dateien = 0;
    // Files that had to be sent, those sent and confirmed, those the server held already.
    int zuSenden = 0;
    int gesendet = 0;
    int aktuell = 0;
    // Pages of an earlier site (deleted articles) removed from the server.
    int entfernt = 0;
    // The files that did not arrive, in upload order.
    std::vector<std::string> nichtAngekommen;
    // Every file sent, and every file of the generator run written before.
    bool vollstaendig = false;
    // Ended by UploadBeobachter::Abgebrochen.
    bool abgebrochen = false;
    // The server offered no way to confirm the sizes of the files sent.
    bool ungeprueft = false;
    // The certificate or host key the upload stopped at because it was not trusted.
    std::optional<ServerIdentitaet> abgelehnt;
    // A further connection met another certificate or host key than the trusted one.
    bool fremdeIdentitaet = false;
};

class Upload {
public:
    // verbindung is where the connection lives while the upload runs; it is released when
    // DatenUebertragen returns.
    // datenOrdner holds vertrauen.bit, the servers the user trusts; empty trusts none.
    Upload(UploadBeobachter& beobachter, std::unique_ptr<Serververbindung>& verbindung,
           std::filesystem::path datenOrdner = {}, FtpZeitlimits limits = {});

    // The whole upload of the generator run erzeugt from ausgabeOrdner with the FTP access ftp. Files
    // the generator could not write are not sent: the server keeps its copies. Uebertragen only
    // when everything was sent; otherwise a message naming the files, then NichtUebertragen when
    // nothing arrived and TeilweiseUebertragen when some did.
    UploadErgebnis DatenUebertragen(const FtpZugangsdaten& ftp, const std::filesystem::path& ausgabeOrdner,
                                    const GeneratorErgebnis& erzeugt);

    // Sends every file, whether the record says the server holds it or not.
    void AlleSenden(bool alle) { m_alle = alle; }
    // At most this many connections at once (1 to 4).
    void Verbindungen(int anzahl) { m_anzahlVerbindungen = anzahl; }
    // Once *aufgeben is true, every connection gives up whatever it waits for (the window closes).
    void AufgebenWenn(const std::atomic<bool>* aufgeben) { m_aufgeben = aufgeben; }

    // Opens the connection, by the protocol the address names, and makes "data" current, creating
    // it when missing. An untrusted certificate or host key is put to the observer; once trusted it
    // is recorded and the connection made again. False after a message: the folder message, or one
    // that names the failed step and the server's answer. The trusted fingerprint and the time
    // limits are the upload's own, whatever zugang holds.
    bool FtpVerbinden(const Serverzugang& zugang);
    // Compares the size of every file sent with its size on the server; a server that keeps less
    // than it was sent (a full quota answers 226 all the same) has not received the file. Returns
    // the names that did not arrive whole; sets ungeprueft when the server cannot tell sizes.
    std::vector<std::string>
    GroessenPruefen(const std::vector<std::pair<std::string, std::uint64_t>>& gesendet, bool& ungeprueft);
    // What the server holds of namen: one listing, else SIZE per name; a name missing from the
    // result is not there or its size could not be had. Nothing when the listing is too long.
    std::optional<std::map<std::string, std::uint64_t>> ServerGroessen(const std::vector<std::string>& namen,
                                                                       bool& keineGroessen);
    // Closes the connection.
    void Freigeben();

private:
    struct Lauf;
    // Another connection like the first, in "data"; null when the server refuses it, or when it has
    // not logged in before *aufgeben is set or within 5 seconds.
    std::unique_ptr<Serververbindung> weitereVerbindung(const std::atomic<bool>* aufgeben);
    // Removes the pages the record says velmaro put on the server and the site no longer has.
    int altesEntfernen(Uebertragen& record, const std::vector<std::string>& dateien,
                       const std::map<std::string, std::uint64_t>& dort);
    // Takes files from the run and sends them over v until none is left; erste is the connection
    // the upload cannot go on without.
    void senden(Lauf& lauf, Serververbindung& v, bool erste);

    UploadBeobachter& m_beobachter;
    std::unique_ptr<Serververbindung>& m_verbindung;
    std::filesystem::path m_datenOrdner;
    FtpZeitlimits m_limits;
    bool m_alle = false;
    int m_anzahlVerbindungen = 4;
    const std::atomic<bool>* m_aufgeben = nullptr;
    // How the first connection was made, for the others.
    std::optional<Serverzugang> m_zugang;
    // Plain FTP: the server's active-mode data connections do not come, so passive mode is used.
    bool m_passiv = false;
    // What made the connection fail, for the event.
    Fehlerart m_verbindungsFehler = Fehlerart::Keiner;
    std::optional<ServerIdentitaet> m_abgelehnt;
    // Set when a transfer found the server unreachable; the rest of the files are not tried.
    std::optional<FtpFehler> m_abbruch;
};

} // namespace velmaro
