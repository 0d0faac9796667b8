#include "publish/zugangsdaten.h"

#include "platform/cp1252.h"

#include <utility>

namespace velmaro {

std::optional<Serverzugang> ZugangLesen(const FtpZugangsdaten& ftp, FtpFehler& fehler, Fehlerart& art) {
    fehler = {};
    art = Fehlerart::Einstellungen;
    // The name is a label and the feed's title only, but a control character there is as surely a slip.
    const std::pair<const char*, const std::string*> felder[] = {{"Name", &ftp.name},
                                                                 {"FTP-Adresse", &ftp.adresse},
                                                                 {"Zugangsname", &ftp.zugangsname},
                                                                 {"Passwort", &ftp.passwort}};
    for (const auto& [feld, wert] : felder)
        if (hatSteuerzeichen(*wert)) {
            fehler.grund = SteuerzeichenGrund(feld);
            return std::nullopt;
        }
    if (ftp.adresse.empty()) {
        art = Fehlerart::KeineAdresse;
        fehler.grund =
            "Es ist keine FTP-Adresse eingetragen. Bitte tragen Sie sie unter „FTP Zugangsdaten ändern“ ein.";
        return std::nullopt;
    }
    const auto adresse = AdresseLesen(ftp.adresse);
    if (!adresse) {
        fehler.grund =
            "Die FTP-Adresse „" + cp1252::toUtf8(ftp.adresse) +
            "“ ist ungültig. Erwartet wird ein Servername, wahlweise mit „ftp://“, „ftps://“ oder „sftp://“ davor "
            "und „:Port“ dahinter, zum Beispiel ftp.example.de, ftps://ftp.example.de oder sftp://example.de:2222.";
        return std::nullopt;
    }
    art = Fehlerart::Keiner;
    return Serverzugang{*adresse, ftp.zugangsname, ftp.passwort, {}, {}};
}

} // namespace velmaro
