#include "platform/verbindungsfehler.h"

#include "platform/cp1252.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace velmaro {

bool hatSteuerzeichen(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

std::string SteuerzeichenGrund(const char* feld) {
    return std::string("Das Feld „") + feld +
           "“ der FTP-Zugangsdaten enthält ein Steuerzeichen (etwa einen Zeilenumbruch oder Tabulator). Es "
           "wurde keine Verbindung aufgebaut; bitte korrigieren Sie den Eintrag unter „FTP Zugangsdaten ändern“.";
}

std::string SchrittName(FtpSchritt schritt) {
    switch (schritt) {
    case FtpSchritt::Einstellungen:
        return "Prüfen der FTP-Zugangsdaten";
    case FtpSchritt::Verbindungsaufbau:
        return "Verbindungsaufbau";
    case FtpSchritt::Anmeldung:
        return "Anmeldung";
    case FtpSchritt::Ordner:
        return "Wechsel in den Ordner auf dem Server";
    case FtpSchritt::Senden:
        return "Senden";
    }
    return {};
}

std::string FehlerText(const FtpFehler& f) {
    std::string text = "Schritt: " + SchrittName(f.schritt) + "\n" + f.grund;
    if (!f.antwort.empty())
        text += "\nAntwort des Servers: " + f.antwort;
    return text;
}

} // namespace velmaro
