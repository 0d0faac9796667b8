// What the server holds after an upload, whatever state it was left in, over every protocol:
// real servers (vsftpd, sshd) for what real servers do, the fakes for faults no real server makes.
#include "publish/upload.h"

#include "../support/sicherserver.h"
#include "../support/testdaten.h"
#include "store/vertrauen.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
using Dateien = std::map<std::string, std::string>;
constexpr auto npos = std::string::npos;

using enum velmaro::Ereignisart;

namespace {

struct Beobachter : UploadBeobachter {
    fs::path record;
    std::vector<std::pair<std::string, std::string>> meldungen;
    std::vector<std::string> gesendet, fortschritt;
    std::vector<Ereignisart> ereignisse;
    int angekommen = 0;
    int abbrechenNach = -1; // files taken before the user cancels; -1 never
    bool vertrauen = false; // the answer to "trust this server?"
    std::vector<std::string> fragen;
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
        if (const auto r = fs::exists(record) ? uebertragenLesen(readFile(record)) : std::nullopt) {
            EXPECT_EQ(r->dateien.count(name), 0u) << name;
        }
    }
};

// A site of some articles in output/, uploaded to adresse with data/ beside it.
struct Stand {
    TempDir t;
    std::string adresse;
    std::vector<Artikel> liste;
    GeneratorErgebnis erzeugt;
    Beobachter b;
    bool alleSenden = false;

    Stand(std::string a, const std::string& fingerabdruck) : adresse(std::move(a)) {
        Vertrauen v;
        v.Setzen(*AdresseLesen(adresse), fingerabdruck);
        fs::create_directories(t / "data");
        EXPECT_TRUE(v.Speichern(t / "data" / kVertrauenDatei));
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
    UploadErgebnis hochladen(int abbrechenNach = -1, bool vertrauen = false,
                             const std::string& passwort = kFtpPasswort) {
        b = {};
        b.abbrechenNach = abbrechenNach;
        b.vertrauen = vertrauen;
        b.record = t / "data" / kUebertragenDatei;
        std::unique_ptr<InternetSitzung> s;
        std::unique_ptr<ServerVerbindung> v;
        FtpZeitlimits limits;
        limits.stillstand = std::chrono::seconds(5);
        Upload upload(b, s, v, t / "data", limits);
        upload.AlleSenden(alleSenden);
        return upload.DatenUebertragen({"test", adresse, kFtpBenutzer, passwort}, t / "output", erzeugt);
    }
    // The site as it is now, and what else lay on the server.
    Dateien site(const Dateien& fremd = {}) {
        Dateien m = fremd;
        for (const auto& name : UploadDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel))
            m[name] = readFile(t / "output" / name);
        return m;
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
            writeFile(s.t / "data" / kUebertragenDatei, "velmaro uebertragen 1\nserver ftp 127.0.0.1 " +
                                                            server.adresse().substr(16) + " " + kFtpBenutzer +
                                                            "\npassiv\n");
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
            EXPECT_EQ(inhalt(data), s.site(schritt.entfernt ? fremd : Dateien{}));
        }
        if (art == Echt::Ftp) {
            const auto log = server.befehle();
            const auto port = std::count_if(log.begin(), log.end(),
                                            [](const std::string& z) { return z.find("\"PORT ") != z.npos; });
            EXPECT_EQ(port > 0, !passiv);
        }
    }
}

TEST(ServerStand, FehlerDieNurFakesMachen) {
    const struct {
        const char* optionen;
        bool leeren; // the server was emptied since the last upload
        bool vollstaendig = true;
        const char* meldung = nullptr;
    } faelle[] = {
        {"--without MLSD", true},
        {"--without MLSD --dos-list", true},
        {"--without MLSD --without LIST", true},
        {"--drop-connection 2", false},
        // Nothing to check sizes with: said once, never claimed, so sent again next time.
        {"--without MLSD --without LIST --without SIZE", false, true, "nicht geprüft"},
        {"--endless-list", false, false, "mehr als 200000 Einträge"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.optionen);
        FtpServer server(f.optionen);
        Stand s(server.adresse(), "");
        const fs::path data = server.wurzel() / "data";
        if (f.leeren) {
            EXPECT_TRUE(s.hochladen().vollstaendig);
            leeren(data);
        }
        const UploadErgebnis e = s.hochladen();
        EXPECT_EQ(e.vollstaendig, f.vollstaendig);
        EXPECT_EQ(s.b.angekommen, e.gesendet);
        EXPECT_EQ(inhalt(data), f.vollstaendig ? s.site() : Dateien{});
        EXPECT_EQ(s.b.meldungen.size(), f.meldung ? 1u : 0u);
        if (f.meldung) {
            EXPECT_NE(s.b.meldungen.at(0).first.find(f.meldung), std::string::npos)
                << s.b.meldungen.at(0).first;
            EXPECT_TRUE(!fs::exists(s.b.record) || uebertragenLesen(readFile(s.b.record))->dateien.empty());
        }
    }
}

// A trusted FTPS server whose third connection presents another certificate: reported, never
// logged into, and the other connections send everything.
TEST(ServerStand, FremdeIdentitaetAufVerbindungDrei) {
    TempDir t;
    const Zertifikat echt = ZertifikatErzeugen(t.path(), "echt"),
                     fremd = ZertifikatErzeugen(t.path(), "fremd");
    writeFile(t / "fremd.pem", readFile(fremd.cert) + readFile(fremd.key));
    SicherServer server(echt, "--fremd-bei 3 --fremd-cert '" + (t / "fremd.pem").string() + "'");
    Stand s(server.adresse(), echt.fingerabdruck);
    const UploadErgebnis e = s.hochladen();
    EXPECT_TRUE(e.vollstaendig && e.fremdeIdentitaet);
    EXPECT_EQ(inhalt(server.wurzel() / "data"), s.site());
    EXPECT_EQ(s.b.meldungen.at(0).second, kIdentitaetGeaendert);
    EXPECT_NE(s.b.meldungen[0].first.find(fremd.fingerabdruck), std::string::npos);
    const auto log = server.befehle();
    EXPECT_EQ(std::count(log.begin(), log.end(), "PASS"), 3);
}

// Only what changed is sent: after an edit, a new article, a change on the server, a record for
// another server or a damaged one; everything with --all.
TEST(ServerStand, SendetNurWasSichGeaendertHat) {
    FtpServer server;
    Stand s(server.adresse(), "");
    const fs::path dort = server.wurzel() / "data";
    const auto alle = [&] {
        const auto namen = UploadDateien(s.erzeugt.anzahlSeiten, s.erzeugt.anzahlArtikel);
        return Menge(namen.begin(), namen.end());
    };
    const auto geaendert = [&](const std::function<void()>& aendern) {
        const Dateien vorher = inhalt(s.t / "output");
        aendern();
        s.erzeugen();
        Menge m;
        for (const auto& [name, bytes] : inhalt(s.t / "output"))
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
             // its page, its index page and the feed
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
        // The outcomes in upload order, whichever connection finished first.
        auto reihenfolge = UploadDateien(s.erzeugt.anzahlSeiten, s.erzeugt.anzahlArtikel);
        std::erase_if(reihenfolge, [&](const std::string& n) { return !erwartet.count(n); });
        EXPECT_EQ(s.b.gesendet, reihenfolge);
        EXPECT_EQ(inhalt(dort), s.site());
    }
    // Nothing to send: said so on the event line.
    s.alleSenden = false;
    s.hochladen();
    EXPECT_EQ(s.b.fortschritt, (std::vector<std::string>{AktuellText(static_cast<int>(alle().size()))}));
    EXPECT_EQ(readFile(s.t / "data/uebertragen.bit.bak"), kaputt);

    // A cancelled upload sends nothing more; the next one sends exactly the rest.
    fs::remove(s.t / "data/uebertragen.bit");
    std::size_t ab = server.befehle().size();
    UploadErgebnis e = s.hochladen(6);
    const Menge erst = gesendet(server, ab);
    EXPECT_TRUE(e.abgebrochen && !e.vollstaendig);
    EXPECT_EQ(s.b.ereignisse.back(), TeilweiseUebertragen);
    EXPECT_NE(s.b.meldungen.at(0).first.find("auf Ihren Wunsch abgebrochen"), std::string::npos);
    EXPECT_GE(erst.size(), 6u);
    EXPECT_EQ(e.gesendet, static_cast<int>(erst.size()));
    ab = server.befehle().size();
    EXPECT_TRUE(s.hochladen().vollstaendig);
    Menge beide = gesendet(server, ab);
    EXPECT_EQ(beide.size() + erst.size(), alle().size());
    beide.insert(erst.begin(), erst.end());
    EXPECT_EQ(beide, alle());
}

// Four connections, or as many as the server allows.
TEST(ServerStand, VierVerbindungenOderWasDerServerErlaubt) {
    for (int erlaubt : {0, 1}) {
        FtpServer server(erlaubt ? "--max-cons-per-ip 1" : "");
        Stand s(server.adresse(), "");
        EXPECT_TRUE(s.hochladen().vollstaendig && s.b.meldungen.empty());
        const auto log = server.befehle();
        EXPECT_EQ(std::count(log.begin(), log.end(), std::string("USER ") + kFtpBenutzer), erlaubt ? 1 : 4);
    }
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
            EXPECT_TRUE(v.Laden(s.t / "data" / kVertrauenDatei));
            return v.Fingerabdruck(*AdresseLesen(s.adresse)).value_or("");
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
        EXPECT_EQ(fs::status(s.t / "data" / kVertrauenDatei).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(inhalt(w.server->wurzel() / "data"), s.site());

        // Wrong password: its own message, nobody asked.
        s.hochladen(-1, false, "falsch");
        EXPECT_TRUE(s.b.fragen.empty());
        EXPECT_NE(s.b.meldungen.at(0).first.find("oder das Passwort abgelehnt"), npos);

        // Changed: both fingerprints, under its own flag, refused before the login until trusted.
        w.wechseln();
        s.adresse = w.server->adresse(); // a new SFTP server listens on a new port
        Vertrauen liste;
        liste.Setzen(*AdresseLesen(s.adresse), w.alt);
        ASSERT_TRUE(liste.Speichern(s.t / "data" / kVertrauenDatei));
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
