#include "platform/ftpclient.h"

#include "platform/cp1252.h"
#include "platform/curlteile.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace velmaro {

namespace {

constexpr long kStandardPort = 21;

std::string utf8(const std::string& cp1252) {
    return cp1252::toUtf8(cp1252);
}

FtpFehler einstellungsFehler(std::string grund) {
    FtpFehler f;
    f.schritt = FtpSchritt::Einstellungen;
    f.grund = std::move(grund);
    return f;
}

using curlteile::steuerzeichenGrund;

bool istZiffer(char c) {
    return c >= '0' && c <= '9';
}

bool hostZeichen(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || istZiffer(static_cast<char>(c)) || c == '-' ||
           c == '.' || c == '_' || c >= 0x80;
}

struct Adresse {
    std::string host; // UTF-8
    long port = kStandardPort;
};

// "host", "host:port", "ftp://host[:port]", each with an optional trailing slash.
bool adresseLesen(const std::string& text, Adresse& a) {
    std::string rest = text;
    const std::string schema = "ftp://";
    if (rest.size() >= schema.size()) {
        bool gleich = true;
        for (std::size_t i = 0; i < schema.size(); ++i)
            gleich = gleich && (rest[i] | 0x20) == schema[i];
        if (gleich)
            rest.erase(0, schema.size());
    }
    if (!rest.empty() && rest.back() == '/')
        rest.pop_back();
    const auto doppelpunkt = rest.find(':');
    std::string host = rest.substr(0, doppelpunkt);
    if (host.empty())
        return false;
    for (unsigned char c : host)
        if (!hostZeichen(c))
            return false;
    if (doppelpunkt != std::string::npos) {
        const std::string port = rest.substr(doppelpunkt + 1);
        if (port.empty() || port.size() > 5)
            return false;
        long p = 0;
        for (char c : port) {
            if (!istZiffer(c))
                return false;
            p = p * 10 + (c - '0');
        }
        if (p < 1 || p > 65535)
            return false;
        a.port = p;
    }
    a.host = utf8(host);
    return true;
}

} // namespace

bool hatSteuerzeichen(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
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

std::unique_ptr<InternetSitzung> InternetSitzung::Oeffnen(const std::string& agentName, FtpFehler& fehler) {
    if (hatSteuerzeichen(agentName)) {
        fehler = einstellungsFehler(steuerzeichenGrund("Name"));
        return nullptr;
    }
    return std::unique_ptr<InternetSitzung>(new InternetSitzung(agentName));
}

struct FtpVerbindung::Impl {
    CURL* curl = nullptr;
    std::string basis;  // "ftp://host:port/"
    std::string ordner; // URL path of the current remote folder with its slash; empty before
    std::string host;   // UTF-8, for messages
    long port = kStandardPort;
    std::string benutzer;
    std::string passwort;
    FtpZeitlimits limits;

    // Filled by the reply callback during one operation.
    curlteile::Antworten antworten;
    curlteile::Quelle quelle;
    std::string liste; // the data of a listing

    static size_t sammeln(char* b, size_t size, size_t n, void* user) {
        static_cast<std::string*>(user)->append(b, size * n);
        return size * n;
    }

    ~Impl() {
        if (curl)
            curl_easy_cleanup(curl);
    }

    std::string escape(const std::string& s) { return curlteile::escape(curl, s); }

    FtpFehler fehler(CURLcode code, FtpSchritt schritt, const std::string& name) const {
        FtpFehler f;
        f.schritt = schritt;
        f.antwort = antworten.fuerMeldung(passwort);
        const std::string server = "„" + host + "“";
        const auto sekunden = [](std::chrono::seconds s) { return std::to_string(s.count()) + " Sekunden"; };
        switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            f.grund = "Der Server " + server +
                      " wurde nicht gefunden. Bitte prüfen Sie die FTP-Adresse und die Internetverbindung.";
            f.weitereZwecklos = true;
            break;
        case CURLE_COULDNT_CONNECT:
            f.grund = "Der Server " + server + " nimmt auf Port " + std::to_string(port) +
                      " keine Verbindung an. Bitte prüfen Sie die FTP-Adresse und die Internetverbindung.";
            f.weitereZwecklos = true;
            break;
        case CURLE_OPERATION_TIMEDOUT:
            if (schritt == FtpSchritt::Senden)
                f.grund = "Die Übertragung von „" + name + "“ ist stehen geblieben: der Server " + server +
                          " hat " + sekunden(std::max(limits.antwort, limits.stillstand)) +
                          " lang weder Daten angenommen noch geantwortet.";
            else
                f.grund =
                    "Der Server " + server + " hat nicht innerhalb von " +
                    sekunden(schritt == FtpSchritt::Verbindungsaufbau ? limits.verbinden : limits.antwort) +
                    " geantwortet.";
            f.weitereZwecklos = true;
            break;
        case CURLE_LOGIN_DENIED:
            f.grund = "Der Server hat den Zugangsnamen „" + utf8(benutzer) +
                      "“ oder das Passwort abgelehnt. Bitte prüfen Sie die FTP-Zugangsdaten.";
            f.weitereZwecklos = true;
            break;
        case CURLE_REMOTE_ACCESS_DENIED:
            f.grund = schritt == FtpSchritt::Ordner
                          ? "Der Ordner konnte auf dem Server weder geöffnet noch angelegt werden."
                          : "Der Server hat den Zugriff verweigert.";
            break;
        case CURLE_UPLOAD_FAILED:
            // 452 and 552: no space left on the server; every further file would be refused too.
            if (antworten.letzte.rfind("452", 0) == 0 || antworten.letzte.rfind("552", 0) == 0) {
                f.grund =
                    "Der Server hat die Datei „" + name +
                    "“ nicht angenommen: sein Speicherplatz ist voll. Bitte schaffen Sie auf dem Server "
                    "Platz oder wenden Sie sich an Ihren Anbieter.";
                f.weitereZwecklos = true;
            } else {
                f.grund = "Der Server hat die Datei „" + name + "“ nicht angenommen.";
            }
            break;
        case CURLE_READ_ERROR:
        case CURLE_ABORTED_BY_CALLBACK:
            f.grund = "Die lokale Datei „" + name + "“ konnte nicht gelesen werden.";
            break;
        case CURLE_FTP_ACCEPT_FAILED:
        case CURLE_FTP_ACCEPT_TIMEOUT:
            f.grund =
                "Der Server hat innerhalb von " + sekunden(limits.datenverbindung) +
                " keine Datenverbindung zu diesem Rechner aufgebaut (aktiver Modus). Vermutlich blockiert "
                "eine Firewall oder ein Router die Verbindung.";
            f.weitereZwecklos = true;
            break;
        case CURLE_FTP_PORT_FAILED:
            f.grund = "Der Server hat den aktiven Modus (PORT) abgelehnt.";
            f.weitereZwecklos = true;
            break;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            f.grund = "Die Verbindung zum Server ist abgebrochen.";
            f.weitereZwecklos = true;
            break;
        case CURLE_WEIRD_SERVER_REPLY:
            f.grund = "Der Server hat unerwartet geantwortet; ist " + server + " ein FTP-Server?";
            break;
        default:
            f.grund =
                "Fehler " + std::to_string(static_cast<int>(code)) + " (" + curl_easy_strerror(code) + ").";
            break;
        }
        return f;
    }

    // The step a failed login-and-enter operation got to, from the replies seen.
    FtpSchritt erreichterSchritt() const {
        if (!antworten.begruesst)
            return FtpSchritt::Verbindungsaufbau;
        if (!antworten.angemeldet)
            return FtpSchritt::Anmeldung;
        return FtpSchritt::Ordner;
    }

    CURLcode ausfuehren() {
        antworten.letzte.clear();
        return curl_easy_perform(curl);
    }
};

FtpVerbindung::FtpVerbindung(std::unique_ptr<Impl> impl) : d(std::move(impl)) {
}

FtpVerbindung::~FtpVerbindung() {
    Schliessen();
}

std::unique_ptr<FtpVerbindung> FtpVerbindung::Oeffnen(const InternetSitzung& sitzung,
                                                      const std::string& adresse, const std::string& benutzer,
                                                      const std::string& passwort, FtpFehler& fehler,
                                                      const FtpZeitlimits& limits) {
    const std::pair<const char*, const std::string*> felder[] = {
        {"FTP-Adresse", &adresse}, {"Zugangsname", &benutzer}, {"Passwort", &passwort}};
    for (const auto& [feld, wert] : felder) {
        if (hatSteuerzeichen(*wert)) {
            fehler = einstellungsFehler(steuerzeichenGrund(feld));
            return nullptr;
        }
    }
    if (adresse.empty()) {
        fehler = einstellungsFehler("Es ist keine FTP-Adresse eingetragen. Bitte tragen Sie sie unter „FTP "
                                    "Zugangsdaten ändern“ ein.");
        return nullptr;
    }
    Adresse a;
    if (!adresseLesen(adresse, a)) {
        fehler =
            einstellungsFehler("Die FTP-Adresse „" + utf8(adresse) +
                               "“ ist ungültig. Erwartet wird ein Servername, wahlweise mit „ftp://“ davor "
                               "und „:Port“ dahinter, zum Beispiel ftp.example.de oder ftp.example.de:2121.");
        return nullptr;
    }

    auto d = std::make_unique<Impl>();
    d->curl = curl_easy_init();
    if (!d->curl) {
        fehler = einstellungsFehler("Die FTP-Bibliothek konnte nicht gestartet werden.");
        return nullptr;
    }
    d->host = a.host;
    d->port = a.port;
    d->basis = "ftp://" + a.host + ":" + std::to_string(a.port) + "/";
    d->benutzer = benutzer;
    d->passwort = passwort;
    d->limits = limits;

    CURL* c = d->curl;
    const auto ms = [](std::chrono::seconds s) { return static_cast<long>(s.count() * 1000); };
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, sitzung.agentName().c_str());
    // An empty user name logs in anonymously, as the platform's FTP client did.
    if (!benutzer.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, d->benutzer.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, d->passwort.c_str());
    }
    // Active mode with a plain PORT command; PORT carries an IPv4 address, so the control
    // connection must be IPv4 too.
    curl_easy_setopt(c, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(c, CURLOPT_FTP_USE_EPRT, 0L);
    curl_easy_setopt(c, CURLOPT_IPRESOLVE, CURL_IPRESOLVE_V4);
    // CWD data; when that fails MKD data and CWD data: the folder is entered or created in one step.
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(c, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, ms(limits.verbinden));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(limits.antwort.count()));
    curl_easy_setopt(c, CURLOPT_ACCEPTTIMEOUT_MS, ms(limits.datenverbindung));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, kStillstandBytesProSekunde);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stillstand.count()));
    // The error buffer is unreliable in active mode; the server's own reply lines are what the
    // messages quote.
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &curlteile::Antworten::zeile);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &d->antworten);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &curlteile::Quelle::lesen);
    curl_easy_setopt(c, CURLOPT_READDATA, &d->quelle);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Impl::sammeln);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &d->liste);
    return std::unique_ptr<FtpVerbindung>(new FtpVerbindung(std::move(d)));
}

bool FtpVerbindung::OrdnerWechseln(const std::string& ordner) {
    if (!d->curl) {
        m_fehler = einstellungsFehler("Die Verbindung ist bereits geschlossen.");
        return false;
    }
    const std::string pfad = d->escape(ordner) + "/";
    curl_easy_setopt(d->curl, CURLOPT_URL, (d->basis + pfad).c_str());
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 1L);
    const CURLcode code = d->ausfuehren();
    if (code != CURLE_OK) {
        m_fehler = d->fehler(code, d->erreichterSchritt(), {});
        d->ordner.clear();
        return false;
    }
    d->ordner = pfad;
    m_fehler = {};
    return true;
}

bool FtpVerbindung::DateiSenden(const std::filesystem::path& lokal, const std::string& name) {
    const std::string anzeige = utf8(name);
    if (!d->curl || d->ordner.empty()) {
        m_fehler = {FtpSchritt::Senden, "Es besteht keine Verbindung zum Server.", {}, true};
        return false;
    }
    std::uint64_t groesse = 0;
    std::string grund;
    if (!d->quelle.oeffnen(lokal, groesse, grund)) {
        m_fehler = {FtpSchritt::Senden, grund, {}, false};
        return false;
    }
    curl_easy_setopt(d->curl, CURLOPT_URL, (d->basis + d->ordner + d->escape(name)).c_str());
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(d->curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(groesse));
    CURLcode code = d->ausfuehren();
    d->quelle.schliessen();
    if (code == CURLE_ABORTED_BY_CALLBACK && d->quelle.lesefehler)
        code = CURLE_READ_ERROR;
    if (code != CURLE_OK) {
        m_fehler = d->fehler(code, FtpSchritt::Senden, anzeige);
        return false;
    }
    m_fehler = {};
    return true;
}

namespace {
std::vector<std::string> woerter(const std::string& zeile, std::size_t anzahl, std::string& rest) {
    std::vector<std::string> w;
    std::size_t pos = 0;
    while (w.size() < anzahl) {
        pos = zeile.find_first_not_of(" \t", pos);
        if (pos == std::string::npos)
            break;
        const std::size_t ende = std::min(zeile.find_first_of(" \t", pos), zeile.size());
        w.push_back(zeile.substr(pos, ende - pos));
        pos = ende;
    }
    pos = zeile.find_first_not_of(" \t", pos);
    rest = pos == std::string::npos ? std::string() : zeile.substr(pos);
    return w;
}

std::optional<std::uint64_t> zahl(const std::string& s) {
    if (s.empty() || s.size() > 19)
        return std::nullopt;
    std::uint64_t n = 0;
    for (char c : s) {
        if (!istZiffer(c))
            return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}

// Name and size of every file a listing names; zeileLesen reads one line without its line end.
template <typename ZeileLesen>
std::map<std::string, std::uint64_t> listeLesen(const std::string& daten, ZeileLesen zeileLesen) {
    std::map<std::string, std::uint64_t> m;
    for (std::size_t anfang = 0; anfang < daten.size();) {
        const std::size_t ende = std::min(daten.find('\n', anfang), daten.size());
        std::string zeile = daten.substr(anfang, ende - anfang);
        anfang = ende + 1;
        if (!zeile.empty() && zeile.back() == '\r')
            zeile.pop_back();
        zeileLesen(zeile, m);
    }
    return m;
}

// "type=file;size=123;modify=...; name" per line.
void mlsdZeile(const std::string& zeile, std::map<std::string, std::uint64_t>& m) {
    const auto leer = zeile.find(' ');
    if (leer == std::string::npos)
        return;
    std::string fakten = zeile.substr(0, leer);
    for (char& c : fakten)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (fakten.find("type=file;") == std::string::npos)
        return;
    const auto size = fakten.find("size=");
    if (size == std::string::npos)
        return;
    if (const auto n = zahl(fakten.substr(size + 5, fakten.find(';', size) - size - 5)))
        m[zeile.substr(leer + 1)] = *n;
}

// The Unix "ls -l" form most servers give: permissions, links, owner, group, size, three date
// fields, name.
void lsZeile(const std::string& zeile, std::map<std::string, std::uint64_t>& m) {
    std::string name;
    const auto w = woerter(zeile, 8, name);
    if (w.size() == 8 && !w[0].empty() && w[0][0] == '-' && !name.empty())
        if (const auto n = zahl(w[4]))
            m[name] = *n;
}
} // namespace

std::map<std::string, std::uint64_t> MlsdLesen(const std::string& daten) {
    return listeLesen(daten, mlsdZeile);
}

std::map<std::string, std::uint64_t> ListeLesen(const std::string& daten) {
    return listeLesen(daten, lsZeile);
}

std::optional<std::map<std::string, std::uint64_t>> FtpVerbindung::Groessen() {
    if (!d->curl || d->ordner.empty())
        return std::nullopt;
    CURL* c = d->curl;
    curl_easy_setopt(c, CURLOPT_URL, (d->basis + d->ordner).c_str());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(c, CURLOPT_NOBODY, 0L);
    std::optional<std::map<std::string, std::uint64_t>> ergebnis;
    for (const char* befehl : {"MLSD", "LIST"}) {
        d->liste.clear();
        curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, befehl);
        if (d->ausfuehren() == CURLE_OK) {
            ergebnis = befehl[0] == 'M' ? MlsdLesen(d->liste) : ListeLesen(d->liste);
            // A LIST in a form other than the Unix one tells nothing.
            if (befehl[0] == 'M' || !ergebnis->empty())
                break;
            ergebnis.reset();
        }
    }
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, nullptr);
    d->liste.clear();
    return ergebnis;
}

std::optional<std::uint64_t> FtpVerbindung::Groesse(const std::string& name) {
    if (!d->curl || d->ordner.empty())
        return std::nullopt;
    curl_easy_setopt(d->curl, CURLOPT_URL, (d->basis + d->ordner + d->escape(name)).c_str());
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 1L);
    curl_off_t laenge = -1;
    if (d->ausfuehren() != CURLE_OK ||
        curl_easy_getinfo(d->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &laenge) != CURLE_OK || laenge < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(laenge);
}

bool FtpVerbindung::DateiLoeschen(const std::string& name) {
    // A line break in a name would end the command and append one of its own.
    if (!d->curl || d->ordner.empty() || hatSteuerzeichen(name))
        return false;
    // After the request's own CWD, so the name is relative to the folder.
    curl_slist* befehle = curl_slist_append(nullptr, ("DELE " + name).c_str());
    curl_easy_setopt(d->curl, CURLOPT_URL, (d->basis + d->ordner).c_str());
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(d->curl, CURLOPT_POSTQUOTE, befehle);
    const CURLcode code = d->ausfuehren();
    curl_easy_setopt(d->curl, CURLOPT_POSTQUOTE, nullptr);
    curl_slist_free_all(befehle);
    if (code != CURLE_OK) {
        m_fehler = d->fehler(code, FtpSchritt::Senden, utf8(name));
        return false;
    }
    return true;
}

void FtpVerbindung::Schliessen() {
    if (d && d->curl) {
        // Sends QUIT and closes the control connection.
        curl_easy_cleanup(d->curl);
        d->curl = nullptr;
        d->ordner.clear();
    }
}

} // namespace velmaro
