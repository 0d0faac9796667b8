// The upload against servers on 127.0.0.1: what arrives, in which order, over how many logins,
// what the user is told when something fails, and what the server holds afterwards whatever state
// it was left in. Real servers (vsftpd, sshd) for what real servers do, pyftpdlib fakes for faults
// no real server makes.
#include "publish/upload.h"

#include "../support/sicherserver.h"
#include "../support/testdaten.h"
#include "store/vertrauen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <set>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
using Liste = std::vector<std::string>;
using Box = std::pair<std::string, std::string>; // a message: text, caption
constexpr auto npos = std::string::npos;

using enum velmaro::Ereignisart;

namespace {

struct Beobachter : UploadBeobachter {
    fs::path record;
    std::vector<Box> meldungen;
    Liste gesendet, fortschritt, fragen;
    std::vector<Ereignisart> ereignisse;
    int angekommen = 0;
    int abbrechenNach = -1; // files taken before the user cancels; -1 never
    bool vertrauen = false; // the answer to "trust this server?"
    std::vector<bool> geaendert;
    bool IdentitaetVertrauen(const std::string& text, bool anders) override {
        fragen.push_back(text);
        geaendert.push_back(anders);
        return vertrauen;
    }
    void Angekommen() override { ++angekommen; }
    void DateiGesendet(const std::string& name) override { gesendet.push_back(name); }
    bool Abgebrochen() override { return abbrechenNach >= 0 && abbrechenNach-- == 0; }
    void Ereignis(Ereignisart art) override { ereignisse.push_back(art); }
    void Meldung(const std::string& t, const std::string& c) override { meldungen.push_back({t, c}); }
    // Before a file goes out, the record on disk no longer claims it.
    void Fortschritt(const std::string& text) override {
        fortschritt.push_back(text);
        const std::string name = text.substr(text.rfind(' ') + 1);
        if (const auto r = fs::exists(record) ? Uebertragen::Lesen(readFile(record)) : std::nullopt) {
            EXPECT_EQ(r->dateien.count(name), 0u) << name;
        }
    }
};

// A site of some articles in output/, uploaded to the address with data/ beside it.
struct Stand {
    TempDir t;
    FtpZugangsdaten zugang;
    std::vector<Artikel> liste;
    GeneratorErgebnis erzeugt;
    Beobachter b;
    bool alleSenden = false;
    int verbindungen = 4; // the exact conversation is only known over one connection
    FtpZeitlimits limits{.stillstand = std::chrono::seconds(5)};
    std::unique_ptr<Serververbindung> verbindung;

    Stand(const std::string& adresse, const std::string& fingerabdruck)
        : zugang{"test", adresse, kFtpBenutzer, kFtpPasswort} {
        Vertrauen v;
        v.Setzen(*AdresseLesen(adresse), fingerabdruck);
        fs::create_directories(t / "data");
        EXPECT_TRUE(v.Speichern(t / "data" / DateiName(Datendatei::Vertrauen)));
        artikel(12);
    }
    void artikel(int anzahl) {
        liste.resize(static_cast<std::size_t>(anzahl));
        for (int i = 1; i <= anzahl; ++i)
            liste[static_cast<std::size_t>(i - 1)] = {DateTime::fromParts(2003, 5, i),
                                                      "Meldung " + std::to_string(i), "Text"};
        erzeugen();
    }
    void erzeugen() {
        Artikelliste l;
        for (const auto& a : liste)
            l.addTail(a);
        erzeugt = WebsiteErzeugen(l, "5", StyleWerte{}, FtpZugangsdaten{}, t / "output");
    }
    // Instead of a generated site: bytes a text-mode transfer would change; artikel1.php exceeds
    // libcurl's upload buffer.
    Dateien ausgabe(int seiten, int artikel) {
        erzeugt = {};
        erzeugt.anzahlSeiten = seiten;
        erzeugt.anzahlArtikel = artikel;
        erzeugt.dateien = SeitenDateien(seiten, artikel);
        Dateien m;
        for (const auto& name : erzeugt.dateien) {
            std::string& s = m[name] = name + "\r\nzeile\n";
            for (int i = 0; i < 256; ++i)
                s += static_cast<char>(i);
            if (name == "artikel1.php")
                s.append(300000, 'x');
            writeFile(t / "output" / name, s);
        }
        return m;
    }
    UploadErgebnis hochladen(int abbrechenNach = -1, bool vertrauen = false) {
        b = {};
        b.abbrechenNach = abbrechenNach;
        b.vertrauen = vertrauen;
        b.record = t / "data" / DateiName(Datendatei::Uebertragen);
        Upload upload(b, verbindung, t / "data", limits);
        upload.AlleSenden(alleSenden);
        upload.Verbindungen(verbindungen);
        return upload.DatenUebertragen(zugang, t / "output", erzeugt);
    }
    // The site as it is now, and what else lay on the server.
    Dateien site(const Dateien& fremd = {}) {
        Dateien m = fremd;
        for (const auto& name : SeitenDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel))
            m[name] = readFile(t / "output" / name);
        return m;
    }
    // Nothing sent; the event and one message naming the step and the reason, never the password.
    void scheitert(const std::string& schritt, const std::string& grund,
                   Ereignisart ereignis = NichtUebertragen) {
        EXPECT_FALSE(hochladen().verbunden);
        EXPECT_EQ(b.ereignisse, (std::vector{Verbindungsaufbau, ereignis}));
        ASSERT_EQ(b.meldungen.size(), 1u);
        const auto& [text, titel] = b.meldungen[0];
        EXPECT_EQ(titel, "Fehler");
        EXPECT_NE(text.find(schritt), npos) << text;
        EXPECT_NE(text.find(grund), npos) << text;
        EXPECT_EQ(text.find(kFtpPasswort), npos) << text;
    }
};

using Menge = std::set<std::string>;

// The files a pyftpdlib server was sent (STOR) since its command ab.
Menge gesendet(const FtpServer& server, std::size_t ab) {
    Menge m;
    for (const auto& z : server.befehle(ab))
        if (z.rfind("STOR ", 0) == 0)
            m.insert(z.substr(5));
    return m;
}

// Empties the folder, which keeps its owner.
void leeren(const fs::path& data) {
    for (const auto& e : fs::directory_iterator(data))
        fs::remove(e);
}

} // namespace

TEST(ServerStand, EchteServerHaltenDieWebsiteJedesProtokoll) {
    const Dateien fremd = {{"eigene.php", "vom Kunden"}, {"artikel99.php", "nie von velmaro"}};
    for (const auto& [art, passiv] :
         {std::pair{Echt::Ftp, false}, {Echt::Ftp, true}, {Echt::Ftps, false}, {Echt::Sftp, false}}) {
        SicherServer server(art);
        SCOPED_TRACE(server.adresse() + (passiv ? " passiv" : ""));
        Stand s(server.adresse(), server.fingerabdruck());
        if (passiv)
            writeFile(s.t / "data" / DateiName(Datendatei::Uebertragen),
                      "velmaro uebertragen 1\nserver ftp 127.0.0.1 " + server.adresse().substr(16) + " " +
                          kFtpBenutzer + "\npassiv\n");
        const fs::path data = server.wurzel() / "data";
        const struct {
            const char* fall;
            std::function<void()> vorher;
            int entfernt = 0;
        } schritte[] = {
            {"erstes Mal", [] {}},
            {"geleert", [&] { leeren(data); }},
            {"Ordner entfernt", [&] { fs::remove_all(data); }},
            {"Artikel gelöscht, fremde Dateien bleiben",
             [&] {
                 for (const auto& [name, bytes] : fremd)
                     writeFile(data / name, bytes);
                 s.artikel(10);
             },
             3},
        };
        for (const auto& schritt : schritte) {
            SCOPED_TRACE(schritt.fall);
            schritt.vorher();
            const UploadErgebnis e = s.hochladen();
            EXPECT_TRUE(e.vollstaendig) << (s.b.meldungen.empty() ? "" : s.b.meldungen[0].first);
            EXPECT_EQ(e.entfernt, schritt.entfernt);
            EXPECT_EQ(s.b.angekommen, e.gesendet);
            EXPECT_EQ(Ordnerinhalt(data), s.site(schritt.entfernt ? fremd : Dateien{}));
        }
        const auto port = [](const std::string& z) { return z.find("\"PORT ") != npos; };
        EXPECT_TRUE(art != Echt::Ftp || std::ranges::any_of(server.befehle(), port) != passiv);
    }
}

TEST(ServerStand, FehlerDieNurFakesMachen) {
    const struct {
        const char* optionen;
        bool leeren; // the server was emptied since the last upload
        bool vollstaendig = true;
        const char* meldung = nullptr;
        long anmeldungen = 0; // checked where set: four connections, or as many as the server allows
    } faelle[] = {
        {"", false, true, nullptr, 4},
        {"--max-cons-per-ip 1", false, true, nullptr, 1},
        {"--without MLSD", true},
        {"--without MLSD --without LIST", true},
        {"--drop-connection 2", false},
        // Nothing to check sizes with: said once, never claimed, so sent again next time.
        {"--without MLSD --without LIST --without SIZE", false, true, "nicht geprüft"},
        {"--endless-list", false, false, "mehr als 200000 Einträge"},
        // Extra connections that would log in only after half a minute are not waited for.
        {"--slow-login 30", false},
        // Behind NAT: the data connection fails, at once or after the client gave up on it;
        // passive from then on, for this server.
        {"--no-port sofort", false},
        {"--no-port spaet", false},
        {"--no-port stumm", false},
        // Loses some data connections made by PORT when several connections send: passive then.
        {"--single", false},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.optionen);
        FtpServer server(f.optionen);
        Stand s(server.adresse(), "");
        const bool nat = std::string(f.optionen).starts_with("--no-port"),
                   einProzess = std::string(f.optionen) == "--single";
        if (nat)
            s.limits.datenverbindung = std::chrono::seconds(2);
        const fs::path data = server.wurzel() / "data";
        if (f.leeren) {
            EXPECT_TRUE(s.hochladen().vollstaendig);
            leeren(data);
        }
        const auto beginn = std::chrono::steady_clock::now();
        const UploadErgebnis e = s.hochladen();
        // No server here holds the upload up: logins beyond 5 s are given up once every file is taken.
        EXPECT_TRUE(nat || einProzess || std::chrono::steady_clock::now() - beginn < std::chrono::seconds(4));
        EXPECT_EQ(e.vollstaendig, f.vollstaendig);
        EXPECT_EQ(Ordnerinhalt(data), f.vollstaendig ? s.site() : Dateien{});
        EXPECT_EQ(s.b.meldungen.size(), f.meldung ? 1u : 0u);
        if (f.meldung) {
            EXPECT_NE(s.b.meldungen.at(0).first.find(f.meldung), std::string::npos)
                << s.b.meldungen.at(0).first;
            EXPECT_TRUE(!fs::exists(s.b.record) || Uebertragen::Lesen(readFile(s.b.record))->dateien.empty());
        }
        EXPECT_EQ(f.anmeldungen ? Anmeldungen(server) : 0, 2 * f.anmeldungen); // USER and PASS each
        const auto record = fs::exists(s.b.record) ? Uebertragen::Lesen(readFile(s.b.record)) : std::nullopt;
        EXPECT_TRUE(einProzess || (record && record->passiv) == nat);
        // A reply the server sent late to an abandoned command must not pass for the listing's.
        const auto size = [](const std::string& z) { return z.starts_with("SIZE"); };
        EXPECT_FALSE(nat && std::ranges::any_of(server.befehle(), size));
    }
}

// A trusted server whose third connection meets another certificate or host key: reported, never
// logged into, and the other connections send everything.
TEST(ServerStand, FremdeIdentitaetAufVerbindungDrei) {
    TempDir t;
    const Zertifikat echt = ZertifikatErzeugen(t.path(), "echt"),
                     fremd = ZertifikatErzeugen(t.path(), "fremd");
    writeFile(t / "fremd.pem", readFile(fremd.cert) + readFile(fremd.key));
    SicherServer ftps(echt, "--fremd-bei 3 --fremd-cert '" + (t / "fremd.pem").string() + "'"),
        sftp(Echt::SftpFremdBeiDrei);
    std::string sftpFremd =
        Ausfuehren("ssh-keygen -lf '" + (sftp.wurzel().parent_path() / "fremdkey.pub").string() +
                   "' | cut -d' ' -f2")
            .second;
    sftpFremd.pop_back();
    for (auto [server, vertraut, abdruck] : {std::tuple{&ftps, echt.fingerabdruck, fremd.fingerabdruck},
                                             {&sftp, sftp.fingerabdruck(), sftpFremd}}) {
        SCOPED_TRACE(server->adresse());
        Stand s(server->adresse(), vertraut);
        const UploadErgebnis e = s.hochladen();
        EXPECT_TRUE(e.vollstaendig && e.fremdeIdentitaet);
        EXPECT_EQ(Ordnerinhalt(server->wurzel() / "data"), s.site());
        EXPECT_EQ(s.b.meldungen.at(0).second, kIdentitaetGeaendert);
        EXPECT_NE(s.b.meldungen[0].first.find(abdruck), std::string::npos) << s.b.meldungen[0].first;
        // The impostor never saw the password.
        if (server == &ftps)
            EXPECT_EQ(Anmeldungen(ftps), 6);
        else
            EXPECT_EQ(readFile(sftp.wurzel().parent_path() / "fremd.log").find("password"), npos);
    }
}

// Only what changed is sent: after an edit, a new article, a change on the server, a record for
// another server or a damaged one; everything with --all.
TEST(ServerStand, SendetNurWasSichGeaendertHat) {
    FtpServer server;
    Stand s(server.adresse(), "");
    const fs::path dort = server.wurzel() / "data";
    const auto alle = [&] {
        const auto namen = SeitenDateien(s.erzeugt.anzahlSeiten, s.erzeugt.anzahlArtikel);
        return Menge(namen.begin(), namen.end());
    };
    const auto geaendert = [&](const std::function<void()>& aendern) {
        const Dateien vorher = Ordnerinhalt(s.t / "output");
        aendern();
        s.erzeugen();
        Menge m;
        for (const auto& [name, bytes] : Ordnerinhalt(s.t / "output"))
            if (!vorher.count(name) || vorher.at(name) != bytes)
                m.insert(name);
        return m;
    };
    const std::string kaputt = "velmaro uebertragen 1\nserver x\nkaputt";
    const struct {
        const char* fall;
        std::function<Menge()> aendern; // returns what must be sent
        bool alle = false;
    } schritte[] = {
        {"erstes Mal", alle},
        {"nichts geändert", [] { return Menge{}; }},
        {"ein Artikel bearbeitet",
         [&] {
             const Menge g = geaendert([&] { s.liste[6].textinhalt = "Neuer Text"; });
             // its page, its index page and the feed: nothing else changes
             EXPECT_EQ(g, (Menge{"artikel7.php", "feed.xml", "inhalt2.php"}));
             return g;
         }},
        {"ein Artikel dazu",
         [&] {
             return geaendert([&] {
                 s.liste.insert(s.liste.begin(), {DateTime::fromParts(2003, 6, 1), "Neu", "T"});
             });
         }},
        {"auf dem Server gelöscht",
         [&] {
             fs::remove(dort / "inhalt1.php");
             return Menge{"inhalt1.php"};
         }},
        {"auf dem Server geändert",
         [&] {
             writeFile(dort / "artikel3.php", "fremd");
             return Menge{"artikel3.php"};
         }},
        {"Aufzeichnung für einen anderen Server",
         [&] {
             writeFile(s.t / "data/uebertragen.bit", "velmaro uebertragen 1\nserver ftp anderer 21 x\n");
             return alle();
         }},
        {"Aufzeichnung beschädigt",
         [&] {
             writeFile(s.t / "data/uebertragen.bit", kaputt);
             return alle();
         }},
        {"--all", alle, true},
    };
    for (const auto& schritt : schritte) {
        SCOPED_TRACE(schritt.fall);
        const Menge erwartet = schritt.aendern();
        const std::size_t ab = server.befehle().size();
        s.alleSenden = schritt.alle;
        const UploadErgebnis e = s.hochladen();
        EXPECT_EQ(gesendet(server, ab), erwartet);
        EXPECT_TRUE(e.vollstaendig);
        EXPECT_EQ(e.aktuell, static_cast<int>(alle().size() - erwartet.size()));
        EXPECT_EQ(s.b.ereignisse, (std::vector{Verbindungsaufbau, Uebertragung, Ereignisart::Uebertragen}));
        EXPECT_EQ(s.b.meldungen.size(), std::string(schritt.fall) == "Aufzeichnung beschädigt" ? 1u : 0u);
        // The outcomes in upload order, whichever connection finished first.
        auto reihenfolge = SeitenDateien(s.erzeugt.anzahlSeiten, s.erzeugt.anzahlArtikel);
        std::erase_if(reihenfolge, [&](const std::string& n) { return !erwartet.count(n); });
        EXPECT_EQ(s.b.gesendet, reihenfolge);
        EXPECT_EQ(Ordnerinhalt(dort), s.site());
        // A progress text for every file but the stylesheet; when none is sent, that they are current.
        EXPECT_EQ(s.b.fortschritt.size(),
                  std::max<std::size_t>(1, erwartet.size() - erwartet.count("style.css")));
    }
    EXPECT_EQ(readFile(s.t / "data/uebertragen.bit.bak"), kaputt);

    // A cancelled upload sends nothing more; the next one sends exactly the rest.
    s.alleSenden = false;
    fs::remove(s.t / "data/uebertragen.bit");
    const std::size_t ab = server.befehle().size();
    const UploadErgebnis e = s.hochladen(6);
    EXPECT_TRUE(e.abgebrochen && !e.vollstaendig && e.gesendet >= 6);
    EXPECT_EQ(s.b.ereignisse.back(), TeilweiseUebertragen);
    const std::size_t mitte = server.befehle().size();
    EXPECT_TRUE(s.hochladen().vollstaendig);
    EXPECT_EQ(gesendet(server, ab).size(), alle().size());                 // none twice
    EXPECT_EQ(gesendet(server, mitte).size(), alle().size() - e.gesendet); // the rest
}

// FTPS and SFTP: an unknown or changed certificate or host key is put to the user before the
// password goes out; only what the user trusts is recorded, and then everything arrives.
TEST(ServerStand, FragtVorDemPasswortVertrautUndWeistGeaendertesAb) {
    for (bool sftp : {false, true}) {
        SCOPED_TRACE(sftp ? "sftp" : "ftps");
        TempDir t;
        WechselServer w(t.path(), sftp);
        Stand s(w.server->adresse(), "");
        const auto vertraut = [&] {
            Vertrauen v;
            EXPECT_TRUE(v.Laden(s.t / "data" / DateiName(Datendatei::Vertrauen)));
            return v.Fingerabdruck(*AdresseLesen(s.zugang.adresse)).value_or("");
        };
        // Unknown: asked with the fingerprint; declined, nothing recorded and no login; trusted,
        // recorded (for the owner only) and everything sent; then nobody is asked.
        for (bool antwort : {false, true, false}) {
            const UploadErgebnis e = s.hochladen(-1, antwort);
            EXPECT_EQ(e.vollstaendig, vertraut() == w.alt);
            EXPECT_EQ(s.b.ereignisse.back(), e.vollstaendig ? Ereignisart::Uebertragen : NichtVertraut);
            EXPECT_EQ(s.b.geaendert, std::vector<bool>(e.vollstaendig && !antwort ? 0 : 1, false));
            EXPECT_EQ(Anmeldungen(*w.server) > 0, e.vollstaendig);
            for (const auto& frage : s.b.fragen)
                EXPECT_NE(frage.find("Fingerabdruck: " + w.alt), npos) << frage;
        }
        EXPECT_EQ(fs::status(s.t / "data" / DateiName(Datendatei::Vertrauen)).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(Ordnerinhalt(w.server->wurzel() / "data"), s.site());

        // Changed: both fingerprints, under its own flag, refused before the login until trusted.
        w.wechseln();
        s.zugang.adresse = w.server->adresse(); // a new SFTP server listens on a new port
        Vertrauen liste;
        liste.Setzen(*AdresseLesen(s.zugang.adresse), w.alt);
        ASSERT_TRUE(liste.Speichern(s.t / "data" / DateiName(Datendatei::Vertrauen)));
        const long bisher = Anmeldungen(*w.server);
        for (bool antwort : {false, true}) {
            EXPECT_EQ(s.hochladen(-1, antwort).vollstaendig, antwort);
            EXPECT_EQ(s.b.geaendert, std::vector<bool>{true});
            EXPECT_NE(s.b.fragen.at(0).find("Bisher vertraut: " + w.alt + "\nJetzt vorgelegt: " + w.neu),
                      npos);
            EXPECT_EQ(vertraut(), antwort ? w.neu : w.alt);
            EXPECT_EQ(Anmeldungen(*w.server) > bisher, antwort);
        }
    }
}

// Refused before a file went out: nothing sent, one message naming the step and the reason (never
// the password), and the event that says why. A server never sees a value with a control character:
// CR LF would end the FTP command and append one of its own.
TEST(Upload, AbgewiesenVorDerErstenDatei) {
    TempDir t;
    const auto zert = ZertifikatErzeugen(t.path(), "server");
    SicherServer ohneTls, ohneProt(zert, "--ohne-prot");
    FtpServer gesund, weg, ohneMkd("--no-mkd"), voll("--voll"), roh("--echo-pass roh"),
        gross("--echo-pass gross"), url("--echo-pass url");
    weg.anhalten();
    using Z = FtpZugangsdaten;
    const auto mehr = [](std::string Z::*feld, std::string wert) { return [=](Z& z) { z.*feld += wert; }; };
    const auto adresse = [](std::string a) { return [=](Z& z) { z.adresse = a; }; };
    const struct {
        FtpServer* server;
        std::function<void(Z&)> aendern;
        std::string schritt, grund;
        Ereignisart ereignis = NichtUebertragen;
    } faelle[] = {
        {&ohneTls, {}, "", "keine verschlüsselte Verbindung (TLS)"},
        {&ohneProt, {}, "", "(PROT P)", VerschluesselungAbgelehnt},
        {&voll, {}, "", "nimmt zurzeit keine Verbindung an", ServerAbweisend},
        {&weg, {}, "Verbindungsaufbau", "Port " + weg.adresse().substr(10)},
        {&ohneMkd, {}, kOrdnerMeldung, ""},
        // The server echoes the wrong password as it is, upper-cased or URL-encoded.
        {&roh, mehr(&Z::passwort, " /v\xE9rtippt"), "Anmeldung",
         "Antwort des Servers: 530 Passwort *** falsch."},
        {&gross, mehr(&Z::passwort, " /v\xE9rtippt"), "Anmeldung", "530 Passwort *** falsch."},
        {&url, mehr(&Z::passwort, " /v\xE9rtippt"), "Anmeldung", "530 Passwort *** falsch."},
        {&gesund, mehr(&Z::name, "\t"), "„Name“", "Steuerzeichen"},
        {&gesund, mehr(&Z::adresse, "\n"), "„FTP-Adresse“", "Steuerzeichen"},
        {&gesund, mehr(&Z::zugangsname, "\r\nMKD boese"), "„Zugangsname“", "Steuerzeichen"},
        {&gesund, mehr(&Z::passwort, "\x7F"), "„Passwort“", "Steuerzeichen"},
        {&gesund, adresse(""), "FTP-Adresse", "", KeineAdresse},
        {&gesund, adresse("127.0.0.1:abc"), "FTP-Adresse", ""},
        {&gesund, adresse("a b"), "FTP-Adresse", ""},
    };
    for (const auto& f : faelle) {
        Stand s(f.server->adresse(), f.server == &ohneProt ? zert.fingerabdruck : "");
        if (f.aendern)
            f.aendern(s.zugang);
        SCOPED_TRACE(s.zugang.adresse + " " + f.grund);
        s.scheitert(f.schritt, f.grund, f.ereignis);
    }
    EXPECT_TRUE(gesund.befehle().empty());
    // Every form of a good address works.
    for (const std::string& a :
         {"ftp://" + gesund.adresse(), gesund.adresse() + "/", "FTP://" + gesund.adresse() + "/"})
        EXPECT_TRUE(Stand(a, "").hochladen().vollstaendig) << a;
}

TEST(Upload, JedeStoerungNenntWasFehlt) {
    struct Stoerung {
        const char* optionen;
        Liste fehlen;      // in upload order; the first one gets a box of its own
        const char* grund; // in the summary
        Liste veraltet{};  // left over from an earlier run: the generator could not write them
    };
    const Stoerung stoerungen[] = {
        // A refused file costs neither the connection nor the order.
        {"--refuse inhalt1.php", {"inhalt1.php"}, "fehlt sie oder ist noch im alten Stand"},
        {"", {"artikel2.php"}, "nicht geschrieben", {"artikel2.php"}},
        {"--stop-after 3",
         {"inhalt2.php", "artikel1.php", "artikel2.php", "artikel3.php", "feed.xml"},
         "Schritt: Senden"},
        {"--stall artikel1.php",
         {"artikel1.php", "artikel2.php", "artikel3.php", "feed.xml"},
         "stehen geblieben"},
        {"--full-after 3",
         {"inhalt2.php", "artikel1.php", "artikel2.php", "artikel3.php", "feed.xml"},
         "Speicherplatz"},
        // Kept in part, yet answered 226: the size check after the transfers catches it, by MLSD,
        // LIST or SIZE.
        {"--truncate artikel1.php", {"artikel1.php"}, "im alten Stand"},
        {"--truncate artikel1.php --without MLSD", {"artikel1.php"}, "im alten Stand"},
        {"--truncate artikel1.php --without MLSD --without LIST", {"artikel1.php"}, "im alten Stand"},
        // Nothing arrived: only then the event that points at the connection.
        {"--full-after 0", SeitenDateien(2, 3), "Speicherplatz"},
    };
    for (const auto& f : stoerungen) {
        SCOPED_TRACE(f.optionen);
        FtpServer kaputt(f.optionen);
        Stand s(kaputt.adresse(), "");
        s.verbindungen = 1;
        // Short limits so a stalled server costs seconds; the program's own are 30 s each.
        s.limits = {std::chrono::seconds(2), std::chrono::seconds(2), std::chrono::seconds(2),
                    std::chrono::seconds(2)};
        Dateien lokal = s.ausgabe(2, 3);
        s.erzeugt.fehlendeDateien = f.veraltet;

        const auto beginn = std::chrono::steady_clock::now();
        const UploadErgebnis e = s.hochladen();
        // Within the limits: one time-out at most, never one per remaining file.
        EXPECT_LT(std::chrono::steady_clock::now() - beginn, std::chrono::seconds(8));
        EXPECT_EQ(e.gesendet, 8 - static_cast<int>(f.fehlen.size()));
        EXPECT_EQ(e.nichtAngekommen, f.fehlen);
        EXPECT_EQ(s.b.ereignisse, (std::vector{Verbindungsaufbau, Uebertragung,
                                               e.gesendet ? TeilweiseUebertragen : NichtUebertragen}));
        // One box for the file the fault hit, then the summary; not one box per remaining file.
        ASSERT_EQ(s.b.meldungen.size(), 2u);
        EXPECT_EQ(s.b.meldungen[0], Box(NichtGesendetText(f.fehlen.front()), ""));
        const auto& [text, titel] = s.b.meldungen[1];
        EXPECT_EQ(titel, "Fehler");
        EXPECT_NE(text.find(f.grund), npos) << text;
        for (const auto& n : f.fehlen) {
            EXPECT_NE(text.find(n), npos) << text;
            lokal.erase(n);
        }
        if (std::string(f.optionen).rfind("--truncate", 0) == 0)
            lokal["artikel1.php"] = readFile(kaputt.wurzel() / "data/artikel1.php");
        EXPECT_EQ(Ordnerinhalt(kaputt.wurzel() / "data"), lokal);
        EXPECT_TRUE(!s.verbindung);
    }
}
