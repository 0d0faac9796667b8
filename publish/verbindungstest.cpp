#include "publish/verbindungstest.h"

#include "platform/cp1252.h"

namespace velmaro {

namespace {

constexpr const char* kOrdner = "data";

std::string protokollText(Protokoll p) {
    switch (p) {
    case Protokoll::Ftps:
        return "FTPS (verschlüsselt)";
    case Protokoll::Sftp:
        return "SFTP (verschlüsselt)";
    case Protokoll::Ftp:
        break;
    }
    return "FTP (unverschlüsselt)";
}

} // namespace

Verbindungstest VerbindungTesten(const std::string& adresse, const std::string& benutzer,
                                 const std::string& passwort, const Vertrauen& vertrauen,
                                 const FtpZeitlimits& limits) {
    Verbindungstest t;
    const auto a = AdresseLesen(adresse);
    if (!a) {
        t.art = Fehlerart::Einstellungen;
        t.text = "Die FTP-Adresse „" + cp1252::toUtf8(adresse) +
                 "“ ist ungültig. Erwartet wird ein Servername, wahlweise mit „ftp://“, „ftps://“ oder "
                 "„sftp://“ davor und „:Port“ dahinter, zum Beispiel ftps://ftp.example.de oder "
                 "sftp://example.de:2222.";
        return t;
    }
    t.adresse = *a;
    FtpFehler fehler;
    auto sitzung = InternetSitzung::Oeffnen("velmaro", fehler);
    std::unique_ptr<SichereVerbindung> v;
    if (sitzung)
        v = SichereVerbindung::Oeffnen(*sitzung, *a, benutzer, passwort,
                                       vertrauen.Fingerabdruck(*a).value_or(std::string()), fehler, limits);
    if (!v) {
        t.art = Fehlerart::Einstellungen;
        t.text = fehler.grund;
        return t;
    }
    const bool beantwortet = v->OrdnerPruefen(kOrdner, t.ordnerVorhanden);
    t.identitaet = v->identitaet();
    if (!beantwortet) {
        t.art = v->letzteFehlerart();
        t.text = v->letzterFehler().grund;
        if (!v->letzterFehler().antwort.empty())
            t.text += "\nAntwort des Servers: " + v->letzterFehler().antwort;
        return t;
    }
    t.text = "Die Verbindung zu „" + cp1252::toUtf8(a->host) + "“ über " + protokollText(a->protokoll) +
             " funktioniert, die Anmeldung ist gelungen.";
    t.text += t.ordnerVorhanden ? " Der Ordner „data“ ist vorhanden."
                                : " Der Ordner „data“ fehlt noch; er wird beim ersten Hochladen angelegt.";
    if (a->protokoll == Protokoll::Ftp)
        t.text += "\nHinweis: Über FTP gehen Passwort und Seiten unverschlüsselt durchs Netz. Wenn Ihr "
                  "Anbieter es erlaubt, schreiben Sie „ftps://“ oder „sftp://“ vor die Adresse.";
    return t;
}

} // namespace velmaro
