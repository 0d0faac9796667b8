// The upload against a real FTP server on 127.0.0.1: what arrives, in which order, over how many
// logins, and what the user is told when something fails.
#include "publish/upload.h"

#include "../support/ftpserver.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <functional>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct Protokoll : UploadBeobachter {
    std::vector<int> ereignisse;
    std::vector<std::string> fortschritt;
    std::vector<std::pair<std::string, std::string>> meldungen; // text, caption
    std::vector<std::string> gesendet;
    std::vector<std::pair<std::string, std::string>> nichtGesendet; // name, reason
    std::function<void(int)> beiEreignis;

    void Ereignis(int code) override {
        ereignisse.push_back(code);
        if (beiEreignis)
            beiEreignis(code);
    }
    void Fortschritt(const std::string& text) override { fortschritt.push_back(text); }
    void Meldung(const std::string& text, const std::string& titel) override {
        meldungen.push_back({text, titel});
    }
    void DateiGesendet(const std::string& name) override { gesendet.push_back(name); }
    void DateiNichtGesendet(const std::string& name, const std::string& grund) override {
        nichtGesendet.push_back({name, grund});
        UploadBeobachter::DateiNichtGesendet(name, grund);
    }
    std::string alleMeldungen() const {
        std::string s;
        for (const auto& m : meldungen)
            s += m.second + ": " + m.first + "\n";
        return s;
    }
};

// The commands that make up the conversation; PORT, TYPE, PWD and the like vary with the client.
std::vector<std::string> ablauf(const std::vector<std::string>& befehle) {
    std::vector<std::string> r;
    for (const auto& b : befehle) {
        const std::string verb = b.substr(0, b.find(' '));
        if (verb == "USER" || verb == "PASS" || verb == "CWD" || verb == "MKD" || verb == "STOR" ||
            verb == "QUIT")
            r.push_back(b);
    }
    return r;
}

std::vector<std::string> stors(const std::vector<std::string>& namen) {
    std::vector<std::string> r;
    for (const auto& n : namen)
        r.push_back("STOR " + n);
    return r;
}

std::vector<std::string> verbinde(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::map<std::string, std::string> ordnerInhalt(const fs::path& ordner) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(ordner))
        m[e.path().filename().string()] = readFile(e.path());
    return m;
}

// Bytes that a text-mode transfer would change: line ends of both kinds, every byte value.
std::string inhalt(const std::string& name, std::size_t extra = 0) {
    std::string s = name + "\r\nzeile\nzeile\r\n";
    for (int i = 0; i < 256; ++i)
        s += static_cast<char>(i);
    for (std::size_t i = 0; i < extra; ++i)
        s += static_cast<char>('a' + (i * 7) % 26);
    return s;
}

struct UploadTest : ::testing::Test {
    TempDir arbeit;
    VelmaroZustand z;
    std::unique_ptr<InternetSitzung> sitzung;
    std::unique_ptr<FtpVerbindung> verbindung;
    Protokoll p;

    void SetUp() override { z.m_ordner = arbeit.path(); }

    void zugang(const FtpServer& s) {
        z.m_einstellungen[0] = "velmaro-test";
        z.m_einstellungen[1] = s.adresse();
        z.m_einstellungen[2] = s.optionen().benutzer;
        z.m_einstellungen[3] = s.optionen().passwort;
    }

    std::map<std::string, std::string> ausgabeAnlegen(int seiten, int artikel) {
        std::map<std::string, std::string> m;
        for (const auto& name : UploadDateien(seiten, artikel)) {
            // One file larger than libcurl's upload buffer, so it goes in several reads.
            m[name] = inhalt(name, name == "artikel1.php" ? 300000 : 0);
            writeFile(z.ausgabeOrdner() / name, m[name]);
        }
        return m;
    }

    UploadErgebnis hochladen(int seiten, int artikel, FtpZeitlimits limits = {}) {
        Upload upload(p, sitzung, verbindung, limits);
        return upload.DatenUebertragen(z, seiten, artikel);
    }
};

const std::vector<std::string> kAnmeldung = {"USER velmaro", "PASS"};

} // namespace

// --- Successful uploads ---------------------------------------------------------------------------

TEST_F(UploadTest, ErsterUploadLegtDataAnUndSendetAllesUnveraendertInReihenfolge) {
    FtpServer server;
    zugang(server);
    const auto lokal = ausgabeAnlegen(2, 3);

    const UploadErgebnis e = hochladen(2, 3);

    EXPECT_TRUE(e.vollstaendig);
    EXPECT_EQ(e.gesendet, 7);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 9, 10}));
    EXPECT_TRUE(p.meldungen.empty()) << p.alleMeldungen();
    const std::vector<std::string> reihenfolge = {"style.css",   "inhalt0.php",  "inhalt1.php",
                                                  "inhalt2.php", "artikel1.php", "artikel2.php",
                                                  "artikel3.php"};
    EXPECT_EQ(p.gesendet, reihenfolge);
    // One login, the folder created once, then every file in order over the same connection.
    EXPECT_EQ(ablauf(server.befehle()), verbinde(verbinde(kAnmeldung, {"CWD data", "MKD data", "CWD data"}),
                                                 verbinde(stors(reihenfolge), {"QUIT"})));
    // Active mode: the server connects back for every file, announced by a plain PORT.
    const auto alle = server.befehle();
    const auto zaehle = [&](const std::string& verb) {
        return std::count_if(alle.begin(), alle.end(),
                             [&](const std::string& b) { return b.rfind(verb, 0) == 0; });
    };
    EXPECT_EQ(zaehle("PORT "), 7);
    EXPECT_EQ(zaehle("EPRT") + zaehle("PASV") + zaehle("EPSV"), 0);
    EXPECT_EQ(ordnerInhalt(server.wurzel() / "data"), lokal);
    // Nothing is kept for the next upload.
    EXPECT_EQ(sitzung, nullptr);
    EXPECT_EQ(verbindung, nullptr);
}

TEST_F(UploadTest, ZweiterUploadErsetztDateienImVorhandenenOrdnerUndLaesstAeltereStehen) {
    FtpServer server;
    zugang(server);
    ausgabeAnlegen(2, 4);
    ASSERT_TRUE(hochladen(2, 4).vollstaendig);
    fs::remove_all(z.ausgabeOrdner());
    const auto neu = [&] {
        std::map<std::string, std::string> m;
        for (const auto& name : UploadDateien(1, 2)) {
            m[name] = "neu: " + name;
            writeFile(z.ausgabeOrdner() / name, m[name]);
        }
        return m;
    }();
    const auto vorher = server.befehle().size();

    p = {};
    const UploadErgebnis e = hochladen(1, 2);

    EXPECT_TRUE(e.vollstaendig);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 9, 10}));
    const auto alle = server.befehle();
    const std::vector<std::string> zweiter(alle.begin() + static_cast<long>(vorher), alle.end());
    EXPECT_EQ(ablauf(zweiter),
              verbinde(verbinde(kAnmeldung, {"CWD data"}), verbinde(stors(UploadDateien(1, 2)), {"QUIT"})));
    const auto remote = ordnerInhalt(server.wurzel() / "data");
    for (const auto& [name, bytes] : neu)
        EXPECT_EQ(remote.at(name), bytes) << name;
    // The upload deletes nothing: pages beyond the current counts stay from the first upload.
    EXPECT_EQ(remote.at("inhalt2.php"), inhalt("inhalt2.php"));
    EXPECT_EQ(remote.at("artikel4.php"), inhalt("artikel4.php"));
}

TEST_F(UploadTest, LeereArtikellisteSendetNurStylesheetMenuUndErsteSeite) {
    FtpServer server;
    zugang(server);
    ausgabeAnlegen(1, 0);
    // A leftover article page from an earlier run must not go along.
    writeFile(z.ausgabeOrdner() / "artikel1.php", "alt");

    const UploadErgebnis e = hochladen(1, 0);

    EXPECT_TRUE(e.vollstaendig);
    EXPECT_EQ(p.gesendet, (std::vector<std::string>{"style.css", "inhalt0.php", "inhalt1.php"}));
    EXPECT_EQ(ablauf(server.befehle()),
              verbinde(verbinde(kAnmeldung, {"CWD data", "MKD data", "CWD data"}),
                       {"STOR style.css", "STOR inhalt0.php", "STOR inhalt1.php", "QUIT"}));
}

TEST_F(UploadTest, AdresseMitSchemaSchraegstrichOderGrossbuchstabenFuehrtZumSelbenServer) {
    FtpServer server;
    zugang(server);
    ausgabeAnlegen(1, 0);
    for (const std::string& adresse :
         {"ftp://" + server.adresse(), server.adresse() + "/", "FTP://" + server.adresse() + "/"}) {
        p = {};
        z.m_einstellungen[1] = adresse;
        EXPECT_TRUE(hochladen(1, 0).vollstaendig) << adresse << "\n" << p.alleMeldungen();
    }
}

// --- Failures before anything is sent -----------------------------------------------------------

TEST_F(UploadTest, OrdnerWederBetretbarNochAnlegbarGibtGenauEineMeldungUndSendetNichts) {
    FtpServerOptionen o;
    o.ohneMkd = true;
    FtpServer server(o);
    zugang(server);
    ausgabeAnlegen(1, 1);

    const UploadErgebnis e = hochladen(1, 1);

    EXPECT_FALSE(e.verbunden);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 11}));
    ASSERT_EQ(p.meldungen.size(), 1u) << p.alleMeldungen();
    EXPECT_EQ(p.meldungen[0].first, "Konnte nicht in den Ausgabordner wechseln");
    EXPECT_EQ(p.meldungen[0].second, "Fehler");
    EXPECT_TRUE(p.fortschritt.empty());
    EXPECT_EQ(ablauf(server.befehle()), verbinde(kAnmeldung, {"CWD data", "MKD data", "QUIT"}));
    EXPECT_FALSE(fs::exists(server.wurzel() / "data"));
    EXPECT_EQ(verbindung, nullptr);
}

TEST_F(UploadTest, FalschesPasswortNenntAnmeldungUndAntwortDesServersOhneDasPasswort) {
    FtpServer server;
    zugang(server);
    z.m_einstellungen[3] = "Falsch-Passwort-77";
    ausgabeAnlegen(1, 0);

    const UploadErgebnis e = hochladen(1, 0);

    EXPECT_FALSE(e.verbunden);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 11}));
    ASSERT_EQ(p.meldungen.size(), 1u) << p.alleMeldungen();
    const auto& [text, titel] = p.meldungen[0];
    EXPECT_EQ(titel, "Fehler");
    EXPECT_NE(text.find("Anmeldung"), std::string::npos) << text;
    EXPECT_NE(text.find("„velmaro“"), std::string::npos) << text;
    EXPECT_NE(text.find("Antwort des Servers: 530"), std::string::npos) << text;
    EXPECT_EQ(text.find("Falsch-Passwort-77"), std::string::npos) << text;
    EXPECT_EQ(ablauf(server.befehle()), kAnmeldung);
    EXPECT_FALSE(fs::exists(server.wurzel() / "data"));
}

TEST_F(UploadTest, OhneServerNenntVerbindungsaufbauUndPort) {
    const int port = freierPort();
    z.m_einstellungen = {};
    z.m_einstellungen[1] = "127.0.0.1:" + std::to_string(port);
    z.m_einstellungen[2] = "velmaro";
    z.m_einstellungen[3] = "Geheim-42";
    ausgabeAnlegen(1, 0);

    const UploadErgebnis e = hochladen(1, 0);

    EXPECT_FALSE(e.verbunden);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 11}));
    ASSERT_EQ(p.meldungen.size(), 1u) << p.alleMeldungen();
    EXPECT_EQ(p.meldungen[0].second, "Fehler");
    EXPECT_NE(p.meldungen[0].first.find("Verbindungsaufbau"), std::string::npos) << p.meldungen[0].first;
    EXPECT_NE(p.meldungen[0].first.find("Port " + std::to_string(port)), std::string::npos)
        << p.meldungen[0].first;
    EXPECT_EQ(p.meldungen[0].first.find("Geheim-42"), std::string::npos);
}

TEST_F(UploadTest, ServerOhneBegruessungGibtNachDerZeitgrenzeAuf) {
    // Takes the connection but never says a word.
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(s, 4), 0);
    ASSERT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&a), &len), 0);
    z.m_einstellungen[1] = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    z.m_einstellungen[2] = "velmaro";
    ausgabeAnlegen(1, 0);
    FtpZeitlimits kurz;
    kurz.verbinden = kurz.antwort = kurz.datenverbindung = kurz.stillstand = std::chrono::seconds(1);

    const UploadErgebnis e = hochladen(1, 0, kurz);
    close(s);

    EXPECT_FALSE(e.verbunden);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 11}));
    ASSERT_EQ(p.meldungen.size(), 1u);
    EXPECT_NE(p.meldungen[0].first.find("Verbindungsaufbau"), std::string::npos) << p.meldungen[0].first;
    EXPECT_NE(p.meldungen[0].first.find("nicht innerhalb von 1 Sekunden"), std::string::npos)
        << p.meldungen[0].first;
}

struct Feld {
    int index;
    const char* name;
};

class SteuerzeichenTest : public UploadTest, public ::testing::WithParamInterface<Feld> {};

TEST_P(SteuerzeichenTest, WerdenAbgelehntBevorEineVerbindungEntsteht) {
    FtpServer server;
    zugang(server);
    ausgabeAnlegen(1, 0);
    // Through libcurl this would make the server run a command of the value's choosing.
    std::string& wert = z.m_einstellungen[static_cast<std::size_t>(GetParam().index)];
    wert += "\r\nMKD boese";

    const UploadErgebnis e = hochladen(1, 0);

    EXPECT_FALSE(e.verbunden);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 11}));
    ASSERT_EQ(p.meldungen.size(), 1u);
    const std::string& text = p.meldungen[0].first;
    EXPECT_EQ(p.meldungen[0].second, "Fehler");
    EXPECT_NE(text.find(std::string("„") + GetParam().name + "“"), std::string::npos) << text;
    EXPECT_NE(text.find("Steuerzeichen"), std::string::npos) << text;
    EXPECT_EQ(text.find(server.optionen().passwort), std::string::npos) << text;
    EXPECT_TRUE(server.befehle().empty());
    EXPECT_FALSE(fs::exists(server.wurzel() / "boese"));
}

INSTANTIATE_TEST_SUITE_P(JedesFeld, SteuerzeichenTest,
                         ::testing::Values(Feld{0, "Name"}, Feld{1, "FTP-Adresse"}, Feld{2, "Zugangsname"},
                                           Feld{3, "Passwort"}));

TEST_F(UploadTest, UnbrauchbareAdresseWirdOhneVerbindungGemeldet) {
    ausgabeAnlegen(1, 0);
    for (const char* adresse : {"", "127.0.0.1:", "127.0.0.1:abc", "127.0.0.1:70000", "ftp://", "user@host",
                                "host/pfad", "zwei worte"}) {
        p = {};
        z.m_einstellungen[1] = adresse;
        const UploadErgebnis e = hochladen(1, 0);
        EXPECT_FALSE(e.verbunden) << adresse;
        ASSERT_EQ(p.meldungen.size(), 1u) << adresse;
        EXPECT_NE(p.meldungen[0].first.find("FTP-Adresse"), std::string::npos) << p.meldungen[0].first;
        EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 11})) << adresse;
    }
}

// --- Failures of single files -----------------------------------------------------------------

TEST_F(UploadTest, AbgelehnteDateiWirdGemeldetDieAnderenKommenAnKeinErfolgsereignis) {
    FtpServerOptionen o;
    o.abgelehnt = {"inhalt1.php"};
    FtpServer server(o);
    zugang(server);
    const auto lokal = ausgabeAnlegen(2, 2);

    const UploadErgebnis e = hochladen(2, 2);

    EXPECT_FALSE(e.vollstaendig);
    EXPECT_EQ(e.gesendet, 5);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 9, 11}));
    ASSERT_EQ(p.meldungen.size(), 2u) << p.alleMeldungen();
    EXPECT_EQ(p.meldungen[0],
              (std::pair<std::string, std::string>{"inhalt1.php konnte nicht gesendet werden", ""}));
    EXPECT_EQ(p.meldungen[1].second, "Fehler");
    EXPECT_NE(p.meldungen[1].first.find("1 von 6 Dateien konnte nicht gesendet werden."), std::string::npos)
        << p.meldungen[1].first;
    ASSERT_EQ(p.nichtGesendet.size(), 1u);
    EXPECT_NE(p.nichtGesendet[0].second.find("550"), std::string::npos) << p.nichtGesendet[0].second;
    auto erwartet = lokal;
    erwartet.erase("inhalt1.php");
    EXPECT_EQ(ordnerInhalt(server.wurzel() / "data"), erwartet);
    // Still one login: the refusal does not cost the connection.
    const auto befehle = ablauf(server.befehle());
    EXPECT_EQ(std::count(befehle.begin(), befehle.end(), "USER velmaro"), 1);
}

TEST_F(UploadTest, FehlendeLokaleDateiWirdGemeldetUndUebersprungen) {
    FtpServer server;
    zugang(server);
    ausgabeAnlegen(1, 3);
    fs::remove(z.ausgabeOrdner() / "artikel2.php");

    const UploadErgebnis e = hochladen(1, 3);

    EXPECT_EQ(e.gesendet, 5);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 9, 11}));
    ASSERT_EQ(p.nichtGesendet.size(), 1u);
    EXPECT_EQ(p.nichtGesendet[0].first, "artikel2.php");
    EXPECT_NE(p.nichtGesendet[0].second.find("fehlt"), std::string::npos) << p.nichtGesendet[0].second;
    EXPECT_TRUE(fs::exists(server.wurzel() / "data" / "artikel3.php"));
}

TEST_F(UploadTest, VomGeneratorNichtGeschriebeneDateiBleibtAufDemServerAlt) {
    FtpServer server;
    zugang(server);
    ausgabeAnlegen(1, 2);
    // output/ still holds the page of an earlier run; this run could not rewrite it.
    z.m_fehlendeDateien = {"artikel2.php"};

    const UploadErgebnis e = hochladen(1, 2);

    EXPECT_FALSE(e.vollstaendig);
    EXPECT_FALSE(fs::exists(server.wurzel() / "data" / "artikel2.php"));
    EXPECT_TRUE(fs::exists(server.wurzel() / "data" / "artikel1.php"));
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 9, 11}));
    ASSERT_EQ(p.meldungen.size(), 2u) << p.alleMeldungen();
    EXPECT_EQ(p.meldungen[0].first, "artikel2.php konnte nicht gesendet werden");
    EXPECT_NE(p.meldungen[1].first.find("nicht vollständig erzeugt"), std::string::npos)
        << p.meldungen[1].first;
}

TEST_F(UploadTest, ServerVerschwindetWaehrendDesUploadsUebrigeDateienWerdenNichtVersucht) {
    auto server = std::make_unique<FtpServer>();
    zugang(*server);
    ausgabeAnlegen(3, 5);
    p.beiEreignis = [&](int code) {
        if (code == 9)
            server->anhalten();
    };

    const UploadErgebnis e = hochladen(3, 5);

    EXPECT_EQ(e.gesendet, 0);
    EXPECT_EQ(p.ereignisse, (std::vector<int>{8, 9, 11}));
    // One message for the file that failed and one summary, not one per file.
    ASSERT_EQ(p.meldungen.size(), 2u) << p.alleMeldungen();
    EXPECT_EQ(p.meldungen[0].first, "style.css konnte nicht gesendet werden");
    EXPECT_NE(p.meldungen[1].first.find("10 von 10 Dateien konnten nicht gesendet werden."),
              std::string::npos)
        << p.meldungen[1].first;
    EXPECT_NE(p.meldungen[1].first.find("abgebrochen"), std::string::npos) << p.meldungen[1].first;
    EXPECT_EQ(verbindung, nullptr);
}

// --- The file list ------------------------------------------------------------------------------

TEST(UploadDateien, ReihenfolgeUndZaehlungOhneFuehrendeNullen) {
    EXPECT_EQ(UploadDateien(1, 0), (std::vector<std::string>{"style.css", "inhalt0.php", "inhalt1.php"}));
    const auto v = UploadDateien(12, 10);
    ASSERT_EQ(v.size(), 1u + 13u + 10u);
    EXPECT_EQ(v[13], "inhalt12.php");
    EXPECT_EQ(v[14], "artikel1.php");
    EXPECT_EQ(v.back(), "artikel10.php");
}
