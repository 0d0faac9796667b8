#pragma once
// "Verbindung testen": connects with the values of the FTP dialog, logs in and looks for the
// folder "data", without sending a file or creating a folder, and says in plain German what it
// found. Runs within the upload's time-outs.

#include "platform/serververbindung.h"
#include "publish/zugangsdaten.h"
#include "store/vertrauen.h"

#include <atomic>
#include <string>

namespace velmaro {

struct Verbindungstest {
    // Fehlerart::Keiner when the login worked and the folder question was answered.
    Fehlerart art = Fehlerart::Keiner;
    bool ordnerVorhanden = false;
    // The certificate or host key seen (for "trust it?" after an unknown or changed one).
    ServerIdentitaet identitaet;
    ServerAdresse adresse;
    // For the site owner (UTF-8).
    std::string text;
};

// adresse, benutzer and passwort as in the FTP dialog (Windows-1252); vertrauen holds the servers
// the user trusts. Once *aufgeben is true the connection gives up whatever it waits for.
Verbindungstest VerbindungTesten(const std::string& adresse, const std::string& benutzer,
                                 const std::string& passwort, const Vertrauen& vertrauen,
                                 const FtpZeitlimits& limits = {},
                                 const std::atomic<bool>* aufgeben = nullptr);

// For "--trust": records fingerabdruck for the server at adresse if that is the certificate or host
// key it presents now. False with text (UTF-8) otherwise; vertrauen then stays as it was.
bool FingerabdruckAufnehmen(const std::string& adresse, const std::string& fingerabdruck,
                            Vertrauen& vertrauen, std::string& text, const FtpZeitlimits& limits = {});

} // namespace velmaro
