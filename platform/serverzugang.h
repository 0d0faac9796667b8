#pragma once
// A server's access as the FTP settings give it, read once: protocol, host and port, user and
// password, the fingerprint trusted for it and how long to wait. Every connection and the
// connection test are opened with it; the record of what the server holds is kept under its
// schluessel(), the trust list under its address.

#include "platform/serveradresse.h"
#include "platform/verbindungsfehler.h"

#include <string>

namespace velmaro {

struct Serverzugang {
    ServerAdresse adresse;
    // Windows-1252, free of control characters.
    std::string benutzer;
    std::string passwort;
    // The certificate's or host key's fingerprint the user trusts for this server; empty when none.
    std::string vertraut;
    FtpZeitlimits limits;

    // What identifies the server a record belongs to: "<protocol> <host> <port> <user>", the host
    // in lower case.
    std::string schluessel() const;
};

} // namespace velmaro
