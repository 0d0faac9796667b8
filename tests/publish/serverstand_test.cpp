// What the server holds after an upload, whatever state it was left in, over every protocol:
// real servers (vsftpd, sshd) for what real servers do, the fakes for faults no real server makes.
#include "publish/upload.h"

#include "../support/sicherserver.h"
#include "../support/testdaten.h"
#include "store/vertrauen.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
using Dateien = std::map<std::string, std::string>;

namespace {

Dateien inhalt(const fs::path& ordner) {
    Dateien m;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ordner, ec))
        m[e.path().filename().string()] = readFile(e.path());
    return m;
}

struct Beobachter : UploadBeobachter {
    fs::path record;
    std::vector<std::pair<std::string, std::string>> meldungen;
    int angekommen = 0;
    void Angekommen() override { ++angekommen; }
    void Ereignis(int) override {}
    void Meldung(const std::string& t, const std::string& c) override { meldungen.push_back({t, c}); }
    // Before a file goes out, the record on disk no longer claims it.
    void Fortschritt(const std::string& text) override {
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
    GeneratorErgebnis erzeugt;
    Beobachter b;

    Stand(std::string a, const std::string& fingerabdruck) : adresse(std::move(a)) {
        fs::create_directories(t / "data");
        Vertrauen v;
        if (!fingerabdruck.empty())
            v.Setzen(*AdresseLesen(adresse), fingerabdruck);
        EXPECT_TRUE(v.Speichern(t / "data" / kVertrauenDatei));
        artikel(12);
    }
    void artikel(int anzahl) {
        Artikelliste liste;
        for (int i = 1; i <= anzahl; ++i)
            liste.addTail({DateTime::fromParts(2003, 5, i), "Meldung " + std::to_string(i), "Text"});
        erzeugt = WebsiteErzeugen(liste, "5", StyleWerte{}, t / "output");
    }
    UploadErgebnis hochladen() {
        b = {};
        b.record = t / "data" / kUebertragenDatei;
        std::unique_ptr<InternetSitzung> s;
        std::unique_ptr<ServerVerbindung> v;
        FtpZeitlimits limits;
        limits.stillstand = std::chrono::seconds(5);
        return Upload(b, s, v, t / "data", limits)
            .DatenUebertragen({"test", adresse, kFtpBenutzer, kFtpPasswort}, t / "output", erzeugt);
    }
    // The site as it is now, and what else lay on the server.
    Dateien site(const Dateien& fremd = {}) {
        Dateien m = fremd;
        for (const auto& name : UploadDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel))
            m[name] = readFile(t / "output" / name);
        return m;
    }
};

void leeren(const fs::path& data) {
    for (const auto& e : fs::directory_iterator(data))
        fs::remove(e);
}

} // namespace

TEST(ServerStand, EchteServerHaltenDieWebsiteJedesProtokoll) {
    const Dateien fremd = {{"eigene.php", "vom Kunden"}, {"artikel99.php", "nie von velmaro"}};
    for (const auto& [art, passiv] : {std::pair{Echt::Ftp, false}, {Echt::Ftp, true}, {Echt::Ftps, false},
                                      {Echt::Sftp, false}}) {
        SicherServer server(art);
        SCOPED_TRACE(server.adresse() + (passiv ? " passiv" : ""));
        Stand s(server.adresse(), server.fingerabdruck());
        if (passiv)
            writeFile(s.t / "data" / kUebertragenDatei,
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
            EXPECT_NE(s.b.meldungen.at(0).first.find(f.meldung), std::string::npos) << s.b.meldungen.at(0).first;
            EXPECT_TRUE(!fs::exists(s.b.record) || uebertragenLesen(readFile(s.b.record))->dateien.empty());
        }
    }
}

// A trusted FTPS server whose third connection presents another certificate: reported, never
// logged into, and the other connections send everything.
TEST(ServerStand, FremdeIdentitaetAufVerbindungDrei) {
    TempDir t;
    const Zertifikat echt = ZertifikatErzeugen(t.path(), "echt"), fremd = ZertifikatErzeugen(t.path(), "fremd");
    writeFile(t / "fremd.pem", readFile(fremd.cert) + readFile(fremd.key));
    SicherServer server(echt, "--fremd-bei 3 --fremd-cert '" + (t / "fremd.pem").string() + "'");
    Stand s(server.adresse(), echt.fingerabdruck);
    const UploadErgebnis e = s.hochladen();
    EXPECT_TRUE(e.vollstaendig && e.fremdeIdentitaet);
    EXPECT_EQ(inhalt(server.wurzel() / "data"), s.site());
    ASSERT_EQ(s.b.meldungen.size(), 1u);
    EXPECT_EQ(s.b.meldungen[0].second, kIdentitaetGeaendert);
    EXPECT_NE(s.b.meldungen[0].first.find(fremd.fingerabdruck), std::string::npos);
    const auto log = server.befehle();
    EXPECT_EQ(std::count(log.begin(), log.end(), "PASS"), 3);
}
