#pragma once
// The FTP settings read into a server's access, once, for the upload and the connection test.

#include "platform/serverzugang.h"
#include "store/einstellungen.h"

#include <optional>

namespace velmaro {

// The server's access the settings name, with no fingerprint trusted yet and the standard time
// limits (art Keiner). Nothing, with fehler (step Einstellungen) and art set, when a field holds a control
// character (Einstellungen), there is no address (KeineAdresse), or the address is none of the
// forms (Einstellungen).
std::optional<Serverzugang> ZugangLesen(const FtpZugangsdaten& ftp, FtpFehler& fehler, Fehlerart& art);

} // namespace velmaro
