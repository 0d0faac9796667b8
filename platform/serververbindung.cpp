#include "platform/serververbindung.h"

#include "platform/cp1252.h"
#include "platform/curlteile.h"
#include "platform/serverliste.h"

#include <curl/curl.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <utility>

namespace velmaro {

namespace {

std::string utf8(const std::string& cp1252) {
    return cp1252::toUtf8(cp1252);
}

// As `openssl x509 -fingerprint -sha256` prints it.
std::string zertifikatFingerabdruck(X509* cert) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (!X509_digest(cert, EVP_sha256(), md, &n))
        return {};
    static const char* hex = "0123456789ABCDEF";
    std::string s;
    for (unsigned int i = 0; i < n; ++i) {
        if (i)
            s += ':';
        s += hex[md[i] >> 4];
        s += hex[md[i] & 15];
    }
    return s;
}

std::string zertifikatInhaber(X509* cert) {
    BIO* bio = BIO_new(BIO_s_mem());
    if (!bio)
        return {};
    X509_NAME_print_ex(bio, X509_get_subject_name(cert), 0, XN_FLAG_ONELINE & ~ASN1_STRFLGS_ESC_MSB);
    char* daten = nullptr;
    const long n = BIO_get_mem_data(bio, &daten);
    std::string s(daten, static_cast<std::size_t>(n > 0 ? n : 0));
    BIO_free(bio);
    return s;
}

// As OpenSSH shows a host key: "SHA256:" and the unpadded base64 of its SHA-256.
std::string schluesselFingerabdruck(const char* key, std::size_t len) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (!EVP_Digest(key, len, md, &n, EVP_sha256(), nullptr))
        return {};
    std::string b64(4 * ((n + 2) / 3) + 1, '\0');
    b64.resize(static_cast<std::size_t>(
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(b64.data()), md, static_cast<int>(n))));
    while (!b64.empty() && b64.back() == '=')
        b64.pop_back();
    return "SHA256:" + b64;
}

int sslIndex() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

} // namespace

struct Serververbindung::Impl {
    CURL* curl = nullptr;
    ServerAdresse adresse;
    std::string basis;  // "ftp://host:port/" or "sftp://host:port/~/"
    std::string ordner; // URL path of the upload folder with its slash; empty before
    std::string ordnerName;
    std::string host; // UTF-8, for messages
    std::string benutzer;
    std::string passwort;
    FtpZeitlimits limits;
    ServerIdentitaet identitaet;
    // Set during a handshake when the chain or the host name fails the system's check.
    bool systemUngueltig = false;

    curlteile::Antworten antworten;
    curlteile::Quelle quelle;

    ~Impl() {
        if (curl)
            curl_easy_cleanup(curl);
    }

    // The presented fingerprint against the recorded one; false refuses the server.
    bool vergleichen(std::string fingerabdruck, std::string inhaber) {
        identitaet.fingerabdruck = std::move(fingerabdruck);
        identitaet.inhaber = std::move(inhaber);
        if (identitaet.gespeichert.empty())
            identitaet.stand = Identitaet::Unbekannt;
        else if (identitaet.gespeichert == identitaet.fingerabdruck)
            identitaet.stand = Identitaet::Vertraut;
        else
            identitaet.stand = Identitaet::Geaendert;
        return identitaet.stand == Identitaet::Vertraut;
    }

    // OpenSSL's verdict on each certificate of the chain, leaf last; runs before USER and PASS.
    static int zertifikatPruefen(int ok, X509_STORE_CTX* x) {
        auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(x, SSL_get_ex_data_X509_STORE_CTX_idx()));
        auto* self = static_cast<Impl*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), sslIndex()));
        if (!ok)
            self->systemUngueltig = true;
        if (X509_STORE_CTX_get_error_depth(x) > 0) {
            // Decided at the leaf, where the trusted fingerprint can still accept it.
            X509_STORE_CTX_set_error(x, X509_V_OK);
            return 1;
        }
        X509* cert = X509_STORE_CTX_get_current_cert(x);
        const std::string& h = self->host;
        const bool hostPasst = X509_check_ip_asc(cert, h.c_str(), 0) == 1 ||
                               X509_check_host(cert, h.data(), h.size(), 0, nullptr) == 1;
        if (!self->systemUngueltig && hostPasst) {
            self->identitaet.fingerabdruck = zertifikatFingerabdruck(cert);
            self->identitaet.inhaber = zertifikatInhaber(cert);
            self->identitaet.stand = Identitaet::Systemgueltig;
            return 1;
        }
        if (!self->vergleichen(zertifikatFingerabdruck(cert), zertifikatInhaber(cert)))
            return 0;
        // libcurl asks for the verification result again after the handshake.
        X509_STORE_CTX_set_error(x, X509_V_OK);
        return 1;
    }

    static CURLcode sslKontext(CURL*, void* sslctx, void* user) {
        auto* ctx = static_cast<SSL_CTX*>(sslctx);
        static_cast<Impl*>(user)->systemUngueltig = false;
        SSL_CTX_set_ex_data(ctx, sslIndex(), user);
        SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, &Impl::zertifikatPruefen);
        return CURLE_OK;
    }

    static int hostschluesselPruefen(void* user, int, const char* key, size_t len) {
        auto* self = static_cast<Impl*>(user);
        return self->vergleichen(schluesselFingerabdruck(key, len), {}) ? CURLKHMATCH_OK
                                                                        : CURLKHMATCH_MISMATCH;
    }

    // Downloads are only counted; a listing is kept when sammeln is set, up to its bounds.
    std::uint64_t empfangen = 0;
    bool sammeln = false;
    bool zuGross = false;
    std::size_t zeilen = 0;
    std::string liste;
    static size_t zaehlen(char* b, size_t size, size_t n, void* user) {
        auto* self = static_cast<Impl*>(user);
        self->empfangen += size * n;
        if (self->sammeln) {
            self->zeilen += static_cast<std::size_t>(std::count(b, b + size * n, '\n'));
            if (self->liste.size() + size * n > kListeHoechstBytes || self->zeilen > kListeHoechstEintraege) {
                self->zuGross = true;
                return 0;
            }
            self->liste.append(b, size * n);
        }
        return size * n;
    }

    // Plain FTP in passive mode (PassivSetzen); else active, where the replies to PORT and the data
    // command are awaited only for limits.datenverbindung (see datenverbindungFehlt).
    bool passiv = false;
    // Set by the upload when this connection is no longer wanted (still logging in at the end).
    const std::atomic<bool>* aufgeben = nullptr;

    bool aktiverDatenbefehl = false;
    // The server may still answer a command whose data connection was given up; its late reply
    // would be taken for the next command's, so the next command goes over a new connection.
    bool neuVerbinden = false;
    // The last command went over a control connection that stood (reused, or one that answered).
    bool gespraech = false;

    static curl_socket_t socketOeffnen(void*, curlsocktype, curl_sockaddr* a) {
        return socket(a->family, a->socktype | SOCK_CLOEXEC, a->protocol);
    }

    static int fortschritt(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        const auto* self = static_cast<Impl*>(user);
        return self->aufgeben && self->aufgeben->load() ? 1 : 0;
    }

    std::string escape(const std::string& s) { return curlteile::escape(curl, s); }

    // daten: the command opens a data connection.
    CURLcode ausfuehren(const std::string& url, bool daten = false) {
        const bool aktiv = daten && adresse.protokoll == Protokoll::Ftp && !passiv;
        aktiverDatenbefehl = aktiv;
        curl_easy_setopt(
            curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
            static_cast<long>(
                (aktiv ? std::min(limits.datenverbindung, limits.antwort) : limits.antwort).count()));
        antworten.letzte.clear();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, neuVerbinden ? 1L : 0L);
        const CURLcode code = curl_easy_perform(curl);
        long neu = 0;
        curl_easy_getinfo(curl, CURLINFO_NUM_CONNECTS, &neu);
        gespraech = neu == 0 || !antworten.letzte.empty();
        neuVerbinden = datenverbindungFehlt(code);
        return code;
    }

    // Active mode, over a control connection that answers: the server's data connection did not
    // come, or the server said it could not make it (425, as when the router in front of this
    // computer refuses it), or the transfer's closing reply did not come in time (pyftpdlib's
    // single-process server loses data connections made by PORT when several connections send).
    // Passive mode is tried then; a server that really stalls stalls there too.
    bool datenverbindungFehlt(CURLcode code) const {
        if (!aktiverDatenbefehl || code == CURLE_OK || !gespraech)
            return false;
        return code == CURLE_OPERATION_TIMEDOUT || code == CURLE_FTP_ACCEPT_FAILED ||
               code == CURLE_FTP_ACCEPT_TIMEOUT || code == CURLE_FTP_PORT_FAILED ||
               antworten.letzte.rfind("425", 0) == 0;
    }

    // Below the login folder ("~" on SFTP, in basis).
    std::string ordnerPfad(const std::string& name) { return escape(name) + "/"; }

    // FTP: CWD, and when anlegen and that fails MKD and CWD once more; no data connection.
    // SFTP: the folder's listing, after a mkdir when anlegen.
    CURLcode ordnerAnfragen(const std::string& name, bool anlegen) {
        const bool sftp = adresse.protokoll == Protokoll::Sftp;
        const std::string mkdir = "mkdir \"" + utf8(name) + "\"";
        curl_slist* befehle = sftp && anlegen ? curl_slist_append(nullptr, mkdir.c_str()) : nullptr;
        curl_easy_setopt(curl, CURLOPT_QUOTE, befehle);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(curl, CURLOPT_NOBODY, sftp ? 0L : 1L);
        curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS,
                         static_cast<long>(anlegen ? CURLFTP_CREATE_DIR : CURLFTP_CREATE_DIR_NONE));
        const CURLcode code = ausfuehren(basis + ordnerPfad(name));
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(befehle);
        return code;
    }
};

Serververbindung::Serververbindung(std::unique_ptr<Impl> impl) : d(std::move(impl)) {
}

Serververbindung::~Serververbindung() {
    Schliessen();
}

const ServerIdentitaet& Serververbindung::identitaet() const {
    return d->identitaet;
}

std::unique_ptr<Serververbindung> Serververbindung::Oeffnen(const Serverzugang& zugang, FtpFehler& fehler) {
    fehler = {};
    static const bool initialisiert = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialisiert;

    auto d = std::make_unique<Impl>();
    d->curl = curl_easy_init();
    if (!d->curl) {
        fehler.grund = "Die FTP-Bibliothek konnte nicht gestartet werden.";
        return nullptr;
    }
    const ServerAdresse& adresse = zugang.adresse;
    const FtpZeitlimits& limits = zugang.limits;
    d->adresse = adresse;
    d->host = utf8(adresse.host);
    const bool sftp = adresse.protokoll == Protokoll::Sftp;
    d->basis = std::string(sftp ? "sftp://" : "ftp://") + d->host + ":" + std::to_string(adresse.port) +
               (sftp ? "/~/" : "/");
    d->benutzer = zugang.benutzer;
    d->passwort = zugang.passwort;
    d->limits = limits;
    d->identitaet.gespeichert = zugang.vertraut;

    CURL* c = d->curl;
    const auto ms = [](std::chrono::seconds s) { return static_cast<long>(s.count() * 1000); };
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, sftp ? "sftp" : "ftp");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    // A connection left behind by neuVerbinden is closed, never taken up again.
    curl_easy_setopt(c, CURLOPT_MAXCONNECTS, 1L);
    if (!d->benutzer.empty() || sftp) {
        curl_easy_setopt(c, CURLOPT_USERNAME, d->benutzer.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, d->passwort.c_str());
    }
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, ms(limits.verbinden));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(limits.antwort.count()));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, kStillstandBytesProSekunde);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stillstand.count()));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Impl::zaehlen);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, d.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &curlteile::Quelle::lesen);
    curl_easy_setopt(c, CURLOPT_READDATA, &d->quelle);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &Impl::fortschritt);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, d.get());
    switch (adresse.protokoll) {
    case Protokoll::Ftp:
        // Active mode with a plain PORT (PORT carries an IPv4 address, so the control connection
        // is IPv4 too), until PassivSetzen.
        curl_easy_setopt(c, CURLOPT_FTPPORT, "-");
        curl_easy_setopt(c, CURLOPT_FTP_USE_EPRT, 0L);
        curl_easy_setopt(c, CURLOPT_IPRESOLVE, CURL_IPRESOLVE_V4);
        curl_easy_setopt(c, CURLOPT_ACCEPTTIMEOUT_MS, ms(limits.datenverbindung));
        curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, &Impl::socketOeffnen);
        curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, d.get());
        break;
    case Protokoll::Ftps:
        // Nothing, the login included, goes out before TLS stands; no fallback to plain FTP.
        curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(c, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        // Passive: libcurl 7.88 sends active-mode data unencrypted despite PROT P.
        curl_easy_setopt(c, CURLOPT_FTPPORT, nullptr);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
        // The host name is checked in zertifikatPruefen, so a trusted certificate may name another.
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(c, CURLOPT_SSL_CTX_FUNCTION, &Impl::sslKontext);
        curl_easy_setopt(c, CURLOPT_SSL_CTX_DATA, d.get());
        break;
    case Protokoll::Sftp:
        curl_easy_setopt(c, CURLOPT_SSH_AUTH_TYPES,
                         static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        curl_easy_setopt(c, CURLOPT_SSH_HOSTKEYFUNCTION, &Impl::hostschluesselPruefen);
        curl_easy_setopt(c, CURLOPT_SSH_HOSTKEYDATA, d.get());
        break;
    }
    if (!sftp) {
        curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &curlteile::Antworten::zeile);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, &d->antworten);
    }
    return std::unique_ptr<Serververbindung>(new Serververbindung(std::move(d)));
}

void Serververbindung::fehlschlag(int zahl, FtpSchritt schritt, const std::string& name) {
    const auto code = static_cast<CURLcode>(zahl);
    const std::string server = "„" + d->host + "“";
    const auto sekunden = [](std::chrono::seconds s) { return std::to_string(s.count()) + " Sekunden"; };
    FtpFehler& f = m_fehler;
    f = {};
    f.antwort = d->antworten.fuerMeldung(d->passwort);
    f.weitereZwecklos = true;
    f.schritt = FtpSchritt::Verbindungsaufbau;
    const Identitaet stand = d->identitaet.stand;
    if (stand == Identitaet::Unbekannt || stand == Identitaet::Geaendert) {
        m_art =
            stand == Identitaet::Unbekannt ? Fehlerart::IdentitaetUnbekannt : Fehlerart::IdentitaetGeaendert;
        f.grund = IdentitaetText(d->identitaet, d->adresse.protokoll);
        return;
    }
    const std::string& letzte = d->antworten.letzte;
    if (letzte.rfind("421", 0) == 0) {
        m_art = Fehlerart::ServerAbweisend;
        f.schritt = schritt == FtpSchritt::Senden ? schritt : FtpSchritt::Verbindungsaufbau;
        f.grund = "Der Server " + server +
                  " nimmt zurzeit keine Verbindung an (zu viele Verbindungen oder "
                  "Wartung). Bitte versuchen Sie es später noch einmal.";
        return;
    }
    if (d->datenverbindungFehlt(code)) {
        m_art = Fehlerart::DatenverbindungFehlt;
        f.schritt = schritt;
        f.grund = "Der Server hat innerhalb von " + sekunden(d->limits.datenverbindung) +
                  " keine Datenverbindung zu diesem Rechner aufgebaut (aktiver Modus). Vermutlich blockiert "
                  "eine Firewall oder ein Router die Verbindung.";
        return;
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        m_art = Fehlerart::HostUnbekannt;
        f.grund = "Der Server " + server +
                  " wurde nicht gefunden. Bitte prüfen Sie die FTP-Adresse und die Internetverbindung.";
        return;
    case CURLE_COULDNT_CONNECT:
        m_art = Fehlerart::PortGeschlossen;
        f.grund = "Der Server " + server + " nimmt auf Port " + std::to_string(d->adresse.port) +
                  " keine Verbindung an. Bitte prüfen Sie die FTP-Adresse und die Internetverbindung.";
        return;
    case CURLE_OPERATION_TIMEDOUT:
        m_art = Fehlerart::Zeitueberschreitung;
        if (schritt == FtpSchritt::Senden) {
            f.schritt = schritt;
            f.grund = "Die Übertragung von „" + name + "“ ist stehen geblieben: der Server " + server +
                      " hat " + sekunden(std::max(d->limits.antwort, d->limits.stillstand)) +
                      " lang weder Daten angenommen noch geantwortet.";
        } else {
            f.grund = "Der Server " + server + " hat nicht innerhalb von " +
                      sekunden(std::max({d->limits.verbinden, d->limits.antwort, d->limits.stillstand})) +
                      " geantwortet.";
        }
        return;
    case CURLE_USE_SSL_FAILED:
        if (d->antworten.angemeldet) {
            // TLS stood and the login went through; the server refused PROT P.
            m_art = Fehlerart::VerschluesselungAbgelehnt;
            f.grund =
                "Der Server " + server +
                " lehnt es ab, die Dateien verschlüsselt zu übertragen (PROT P). Es wurde keine Datei "
                "gesendet. Fragen Sie Ihren Anbieter nach FTPS mit verschlüsselten Daten oder nach SFTP.";
            return;
        }
        m_art = Fehlerart::TlsAbgelehnt;
        f.grund =
            "Der Server " + server +
            " bietet keine verschlüsselte Verbindung (TLS) an. Das Passwort wurde nicht gesendet. Fragen "
            "Sie Ihren Anbieter nach FTPS oder SFTP.";
        return;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        m_art = Fehlerart::TlsAbgelehnt;
        f.grund = "Die verschlüsselte Verbindung zum Server " + server +
                  " kam nicht zustande. Das Passwort wurde nicht gesendet.";
        return;
    case CURLE_LOGIN_DENIED:
        m_art = Fehlerart::AnmeldungAbgelehnt;
        f.schritt = FtpSchritt::Anmeldung;
        f.grund = "Der Server hat den Zugangsnamen „" + utf8(d->benutzer) +
                  "“ oder das Passwort abgelehnt. Bitte prüfen Sie die FTP-Zugangsdaten.";
        return;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_ABORTED_BY_CALLBACK:
        m_art = Fehlerart::Abgebrochen;
        f.schritt = schritt;
        f.grund = "Die Verbindung zum Server ist abgebrochen.";
        return;
    case CURLE_WEIRD_SERVER_REPLY:
        m_art = Fehlerart::Sonstiges;
        f.grund = "Der Server hat unerwartet geantwortet; ist " + server + " ein FTP-Server?";
        return;
    case CURLE_UPLOAD_FAILED:
        // 452 and 552: no space left on the server; every further file would be refused too.
        if (letzte.rfind("452", 0) == 0 || letzte.rfind("552", 0) == 0) {
            m_art = Fehlerart::Senden;
            f.schritt = schritt;
            f.grund = "Der Server hat die Datei „" + name +
                      "“ nicht angenommen: sein Speicherplatz ist voll. Bitte schaffen Sie auf dem Server "
                      "Platz oder wenden Sie sich an Ihren Anbieter.";
            return;
        }
        break;
    case CURLE_SSH:
        if (schritt != FtpSchritt::Senden && schritt != FtpSchritt::Ordner) {
            m_art = Fehlerart::Sonstiges;
            f.grund =
                "Die SSH-Verbindung zum Server " + server + " kam nicht zustande; ist es ein SFTP-Server?";
            return;
        }
        break;
    default:
        break;
    }
    f.weitereZwecklos = false;
    f.schritt = schritt;
    if (schritt == FtpSchritt::Ordner) {
        m_art = Fehlerart::Ordner;
        f.grund = "Der Ordner konnte auf dem Server weder geöffnet noch angelegt werden.";
    } else if (schritt == FtpSchritt::Senden &&
               (code == CURLE_UPLOAD_FAILED || code == CURLE_REMOTE_ACCESS_DENIED || code == CURLE_SSH ||
                code == CURLE_READ_ERROR)) {
        m_art = Fehlerart::Senden;
        f.grund = code == CURLE_READ_ERROR ? "Die lokale Datei „" + name + "“ konnte nicht gelesen werden."
                                           : "Der Server hat die Datei „" + name + "“ nicht angenommen.";
    } else {
        m_art = Fehlerart::Sonstiges;
        f.grund = "Fehler " + std::to_string(zahl) + " (" + curl_easy_strerror(code) + ").";
    }
}

bool Serververbindung::offen() {
    if (d->curl)
        return true;
    m_fehler = {FtpSchritt::Einstellungen, "Die Verbindung ist bereits geschlossen.", {}, true};
    m_art = Fehlerart::Sonstiges;
    return false;
}

bool Serververbindung::OrdnerPruefen(const std::string& ordner, bool& vorhanden) {
    if (!offen())
        return false;
    const CURLcode code = d->ordnerAnfragen(ordner, false);
    const bool fehlt = d->adresse.protokoll == Protokoll::Sftp
                           ? code == CURLE_REMOTE_FILE_NOT_FOUND
                           : code == CURLE_REMOTE_ACCESS_DENIED && d->antworten.angemeldet;
    if (code != CURLE_OK && !fehlt) {
        fehlschlag(code, FtpSchritt::Ordner, {});
        return false;
    }
    vorhanden = code == CURLE_OK;
    m_fehler = {};
    m_art = Fehlerart::Keiner;
    return true;
}

bool Serververbindung::OrdnerWechseln(const std::string& ordner) {
    d->ordner.clear();
    bool vorhanden = false;
    // SFTP looks first: its mkdir fails on a folder that exists.
    if (d->adresse.protokoll == Protokoll::Sftp && !OrdnerPruefen(ordner, vorhanden))
        return false;
    if (!vorhanden) {
        if (!offen())
            return false;
        const CURLcode code = d->ordnerAnfragen(ordner, true);
        if (code != CURLE_OK) {
            fehlschlag(code, FtpSchritt::Ordner, {});
            return false;
        }
    }
    d->ordner = d->ordnerPfad(ordner);
    d->ordnerName = ordner;
    m_fehler = {};
    m_art = Fehlerart::Keiner;
    return true;
}

bool Serververbindung::DateiSenden(const std::filesystem::path& lokal, const std::string& name) {
    if (!offen())
        return false;
    if (d->ordner.empty()) {
        m_fehler = {FtpSchritt::Senden, "Es besteht keine Verbindung zum Server.", {}, true};
        m_art = Fehlerart::Senden;
        return false;
    }
    std::uint64_t groesse = 0;
    std::string grund;
    if (!d->quelle.oeffnen(lokal, groesse, grund)) {
        m_fehler = {FtpSchritt::Senden, grund, {}, false};
        m_art = Fehlerart::Senden;
        return false;
    }
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(d->curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(groesse));
    CURLcode code = d->ausfuehren(d->basis + d->ordner + d->escape(name), true);
    d->quelle.schliessen();
    if (code == CURLE_ABORTED_BY_CALLBACK && d->quelle.lesefehler)
        code = CURLE_READ_ERROR;
    return sendeErgebnis(code, name);
}

bool Serververbindung::sendeErgebnis(int code, const std::string& name) {
    if (code != CURLE_OK) {
        fehlschlag(code, FtpSchritt::Senden, utf8(name));
        return false;
    }
    m_fehler = {};
    m_art = Fehlerart::Keiner;
    return true;
}

bool Serververbindung::DateiLoeschen(const std::string& name) {
    if (!d->curl || d->ordner.empty() || hatSteuerzeichen(name))
        return false;
    // FTPS after the request's CWD into the folder; SFTP paths start at the login folder.
    const bool sftp = d->adresse.protokoll == Protokoll::Sftp;
    const std::string befehl = sftp ? "rm \"" + d->ordnerName + "/" + name + "\"" : "DELE " + name;
    curl_slist* befehle = curl_slist_append(nullptr, befehl.c_str());
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, sftp ? 0L : 1L);
    curl_easy_setopt(d->curl, CURLOPT_POSTQUOTE, befehle);
    const CURLcode code = d->ausfuehren(d->basis + d->ordner);
    curl_easy_setopt(d->curl, CURLOPT_POSTQUOTE, nullptr);
    curl_slist_free_all(befehle);
    return sendeErgebnis(code, name);
}

std::optional<std::uint64_t> Serververbindung::Groesse(const std::string& name) {
    if (!d->curl || d->ordner.empty())
        return std::nullopt;
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 1L);
    const std::string url = d->basis + d->ordner + d->escape(name);
    curl_off_t laenge = -1;
    if (d->ausfuehren(url) != CURLE_OK ||
        curl_easy_getinfo(d->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &laenge) != CURLE_OK)
        return std::nullopt;
    if (laenge >= 0)
        return static_cast<std::uint64_t>(laenge);
    if (d->adresse.protokoll != Protokoll::Sftp)
        return std::nullopt;
    // libcurl tells an empty file from an unknown size only by fetching it.
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 0L);
    d->empfangen = 0;
    if (d->ausfuehren(url) != CURLE_OK)
        return std::nullopt;
    return d->empfangen;
}

std::optional<std::map<std::string, std::uint64_t>> Serververbindung::Groessen() {
    if (!d->curl || d->ordner.empty())
        return std::nullopt;
    const bool sftp = d->adresse.protokoll == Protokoll::Sftp;
    curl_easy_setopt(d->curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d->curl, CURLOPT_NOBODY, 0L);
    std::optional<std::map<std::string, std::uint64_t>> ergebnis;
    m_art = Fehlerart::Keiner;
    d->sammeln = true;
    for (const char* befehl : {"MLSD", "LIST"}) {
        d->liste.clear();
        d->zeilen = 0;
        d->zuGross = false;
        curl_easy_setopt(d->curl, CURLOPT_CUSTOMREQUEST, sftp ? nullptr : befehl);
        const CURLcode code = d->ausfuehren(d->basis + d->ordner, true);
        if (d->zuGross) {
            m_art = Fehlerart::ListeZuGross;
            m_fehler = {FtpSchritt::Ordner,
                        "Der Server nennt im Ordner mehr als " + std::to_string(kListeHoechstEintraege) +
                            " Einträge oder mehr als " + std::to_string(kListeHoechstBytes >> 20) +
                            " MB; so viele Dateien hat keine Website von velmaro. Die Übertragung wurde "
                            "nicht begonnen.",
                        {},
                        true};
            break;
        }
        if (code == CURLE_OK) {
            ergebnis = befehl[0] == 'M' && !sftp ? MlsdLesen(d->liste) : ListeLesen(d->liste);
            if (ergebnis)
                break;
        } else if (d->datenverbindungFehlt(code)) {
            m_art = Fehlerart::DatenverbindungFehlt;
            break;
        }
        if (sftp)
            break;
    }
    d->sammeln = false;
    d->liste.clear();
    d->liste.shrink_to_fit();
    curl_easy_setopt(d->curl, CURLOPT_CUSTOMREQUEST, nullptr);
    return ergebnis;
}

void Serververbindung::PassivSetzen() {
    if (d->curl && d->adresse.protokoll == Protokoll::Ftp) {
        d->passiv = true;
        curl_easy_setopt(d->curl, CURLOPT_FTPPORT, nullptr);
    }
}

void Serververbindung::AufgebenWenn(const std::atomic<bool>* aufgeben) {
    d->aufgeben = aufgeben;
}

void Serververbindung::Schliessen() {
    if (d && d->curl) {
        // Given up: no goodbye that a server which stopped answering would keep waiting for.
        curl_socket_t s = CURL_SOCKET_BAD;
        if (d->aufgeben && d->aufgeben->load() &&
            curl_easy_getinfo(d->curl, CURLINFO_ACTIVESOCKET, &s) == CURLE_OK && s != CURL_SOCKET_BAD)
            shutdown(s, SHUT_RDWR);
        curl_easy_cleanup(d->curl);
        d->curl = nullptr;
        d->ordner.clear();
    }
}

std::string IdentitaetText(const ServerIdentitaet& id, Protokoll protokoll) {
    const bool zertifikat = protokoll != Protokoll::Sftp;
    const std::string was = zertifikat ? "Zertifikat" : "Schlüssel";
    std::string text;
    if (id.stand == Identitaet::Geaendert) {
        text = zertifikat ? "Der Server legt ein anderes Zertifikat vor als beim letzten Mal."
                          : "Der Server weist sich mit einem anderen Schlüssel aus als beim letzten Mal.";
        text += " Das kann an einem neuen " + was +
                " Ihres Anbieters liegen, aber auch daran, dass sich ein fremder Rechner als Ihr Server "
                "ausgibt. Es wurde nichts gesendet, auch nicht das Passwort.";
        text += "\nBisher vertraut: " + id.gespeichert;
        text += "\nJetzt vorgelegt: " + id.fingerabdruck;
    } else {
        text = zertifikat
                   ? "Das Zertifikat des Servers ist nicht von einer bekannten Stelle für diese Adresse "
                     "beglaubigt (bei vielen Anbietern lautet es auf den Namen des Anbieters oder ist "
                     "selbst ausgestellt)."
                   : "Dieser Server ist noch unbekannt.";
        text += " Es wurde nichts gesendet, auch nicht das Passwort.";
        text += "\nFingerabdruck: " + id.fingerabdruck;
    }
    if (!id.inhaber.empty())
        text += "\nAusgestellt für: " + id.inhaber;
    text += "\nVergleichen Sie den Fingerabdruck mit den Angaben Ihres Anbieters, bevor Sie dem " + was +
            " vertrauen.";
    return text;
}

} // namespace velmaro
