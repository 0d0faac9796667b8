#include "publish/verbindungstest.h"

#include "platform/cp1252.h"

#include <algorithm>

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

namespace {

Verbindungstest testen(Serverzugang zugang, const Vertrauen& vertrauen, const FtpZeitlimits& limits,
                       const std::atomic<bool>* aufgeben) {
    Verbindungstest t;
    t.adresse = zugang.adresse;
    zugang.vertraut = vertrauen.Fingerabdruck(zugang.adresse).value_or(std::string());
    zugang.limits = limits;
    FtpFehler fehler;
    const auto v = Serververbindung::Oeffnen(zugang, fehler);
    if (!v) {
        t.art = Fehlerart::Einstellungen;
        t.text = fehler.grund;
        return t;
    }
    v->AufgebenWenn(aufgeben);
    const bool beantwortet = v->OrdnerPruefen(kOrdner, t.ordnerVorhanden);
    t.identitaet = v->identitaet();
    if (!beantwortet) {
        t.art = v->letzteFehlerart();
        t.text = v->letzterFehler().grund;
        if (!v->letzterFehler().antwort.empty())
            t.text += "\nAntwort des Servers: " + v->letzterFehler().antwort;
        return t;
    }
    const ServerAdresse& a = zugang.adresse;
    t.text = "Die Verbindung zu „" + cp1252::toUtf8(a.host) + "“ über " + protokollText(a.protokoll) +
             " funktioniert, die Anmeldung ist gelungen.";
    t.text += t.ordnerVorhanden ? " Der Ordner „data“ ist vorhanden."
                                : " Der Ordner „data“ fehlt noch; er wird beim ersten Hochladen angelegt.";
    if (a.protokoll == Protokoll::Ftp)
        t.text += "\nHinweis: Über FTP gehen Passwort und Seiten unverschlüsselt durchs Netz. Wenn Ihr "
                  "Anbieter es erlaubt, schreiben Sie „ftps://“ oder „sftp://“ vor die Adresse.";
    return t;
}

} // namespace

Verbindungstest VerbindungTesten(const std::string& adresse, const std::string& benutzer,
                                 const std::string& passwort, const Vertrauen& vertrauen,
                                 const FtpZeitlimits& limits, const std::atomic<bool>* aufgeben) {
    FtpFehler fehler;
    Verbindungstest t;
    if (const auto zugang = ZugangLesen({{}, adresse, benutzer, passwort}, fehler, t.art))
        return testen(*zugang, vertrauen, limits, aufgeben);
    t.text = fehler.grund;
    return t;
}

bool FingerabdruckAufnehmen(const std::string& adresse, const std::string& fingerabdruck,
                            Vertrauen& vertrauen, std::string& text, const FtpZeitlimits& limits) {
    FtpFehler fehler;
    Fehlerart art = Fehlerart::Keiner;
    const auto a = ZugangLesen({{}, adresse, {}, {}}, fehler, art);
    if (!a) {
        text = fehler.grund;
        return false;
    }
    if (a->adresse.protokoll == Protokoll::Ftp) {
        text = "Über FTP weist sich der Server nicht aus; einen Fingerabdruck gibt es nur bei „ftps://“ und "
               "„sftp://“.";
        return false;
    }
    // Nothing trusted: the server shows its certificate or key and is refused before the login.
    const Verbindungstest t = testen(*a, Vertrauen{}, limits, nullptr);
    const std::string& vorgelegt = t.identitaet.fingerabdruck;
    if (vorgelegt.empty()) {
        text = t.text;
        return false;
    }
    // Hex digits in either case; base64 as it is.
    const bool gleich =
        a->adresse.protokoll == Protokoll::Ftps
            ? std::equal(vorgelegt.begin(), vorgelegt.end(), fingerabdruck.begin(), fingerabdruck.end(),
                         [](char x, char y) { return x == (y >= 'a' && y <= 'f' ? y - 'a' + 'A' : y); })
            : vorgelegt == fingerabdruck;
    if (!gleich) {
        text = "Der Server legt einen anderen Fingerabdruck vor: " + vorgelegt +
               "\nEs wurde nichts als vertrauenswürdig vermerkt.";
        return false;
    }
    vertrauen.Setzen(a->adresse, vorgelegt);
    text = "Dem Server „" + cp1252::toUtf8(a->adresse.host) + "“ mit dem Fingerabdruck " + vorgelegt +
           " wird nun vertraut.";
    return true;
}

} // namespace velmaro
