// The upload over FTPS and SFTP against real servers: an untrusted certificate or host key is put
// to the user before anything goes out, and a trusted server receives every byte.
#include "publish/upload.h"
#include "store/vertrauen.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

struct Frager : UploadBeobachter {
    bool antwort = false;
    std::vector<std::string> fragen, meldungen;
    std::vector<bool> geaendert;
    std::vector<int> ereignisse;
    void Ereignis(int code) override { ereignisse.push_back(code); }
    void Fortschritt(const std::string&) override {}
    void Meldung(const std::string& t, const std::string&) override { meldungen.push_back(t); }
    bool IdentitaetVertrauen(const std::string& text, bool anders) override {
        fragen.push_back(text);
        geaendert.push_back(anders);
        return antwort;
    }
};

} // namespace

TEST(SicherUpload, FragtVorDemPasswortVertrautSendetAllesUndWeistGeaendertesAb) {
    for (bool sftp : {false, true}) {
        SCOPED_TRACE(sftp ? "sftp" : "ftps");
        TempDir t;
        WechselServer w(t.path(), sftp);
        const std::string &alt = w.alt, &neu = w.neu;
        std::unique_ptr<SicherServer>& server = w.server;
        const fs::path data = t / "data", ausgabe = t / "output";
        fs::create_directories(data);
        GeneratorErgebnis erzeugt;
        erzeugt.anzahlSeiten = 1;
        erzeugt.anzahlArtikel = 1;
        std::map<std::string, std::string> dateien;
        for (const auto& name : UploadDateien(1, 1)) {
            std::string bytes = name + "\r\n" + std::string(name == "artikel1.php" ? 200000 : 10, '\n');
            for (int i = 0; i < 256; ++i)
                bytes += static_cast<char>(i);
            writeFile(ausgabe / name, dateien[name] = bytes);
        }
        const auto hochladen = [&](bool antwort, const std::string& passwort = kFtpPasswort) {
            Frager f;
            f.antwort = antwort;
            std::unique_ptr<InternetSitzung> s;
            std::unique_ptr<ServerVerbindung> v;
            const FtpZugangsdaten zugang{"test", server->adresse(), kFtpBenutzer, passwort};
            const auto e = Upload(f, s, v, data).DatenUebertragen(zugang, ausgabe, erzeugt);
            EXPECT_EQ(f.ereignisse.back(), e.vollstaendig ? 10 : e.abgelehnt ? kNichtVertraut : 11);
            return std::pair{f, e};
        };
        const auto vertraut = [&] {
            Vertrauen v;
            EXPECT_TRUE(v.Laden(data / kVertrauenDatei));
            return v.Fingerabdruck(*AdresseLesen(server->adresse())).value_or("");
        };

        // Unknown, declined: asked with the fingerprint, nothing recorded, no login.
        auto [f, e] = hochladen(false);
        ASSERT_EQ(f.fragen.size(), 1u);
        EXPECT_NE(f.fragen[0].find("Fingerabdruck: " + alt), npos) << f.fragen[0];
        EXPECT_EQ(f.geaendert, std::vector<bool>{false});
        EXPECT_EQ(e.abgelehnt->fingerabdruck, alt);
        EXPECT_FALSE(fs::exists(data / kVertrauenDatei));
        EXPECT_EQ(Anmeldungen(*server), 0);

        // Unknown, trusted: recorded, every byte arrives; afterwards nobody is asked.
        for (bool antwort : {true, false}) {
            std::tie(f, e) = hochladen(antwort);
            EXPECT_TRUE(e.vollstaendig);
            EXPECT_EQ(f.fragen.size(), antwort ? 1u : 0u);
            EXPECT_EQ(vertraut(), alt);
            EXPECT_EQ(fs::status(data / kVertrauenDatei).permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write);
            for (const auto& [name, bytes] : dateien)
                EXPECT_EQ(readFile(server->wurzel() / "data" / name), bytes) << name;
        }

        // Wrong password: its own message, nobody asked.
        std::tie(f, e) = hochladen(false, "falsch");
        EXPECT_TRUE(f.fragen.empty());
        ASSERT_EQ(f.meldungen.size(), 1u);
        EXPECT_NE(f.meldungen[0].find("oder das Passwort abgelehnt"), npos) << f.meldungen[0];

        // Changed: both fingerprints, refused before the login until the user trusts the new one.
        w.wechseln();
        Vertrauen liste; // a new SFTP server listens on a new port: the record moves along
        liste.Setzen(*AdresseLesen(server->adresse()), alt);
        ASSERT_TRUE(liste.Speichern(data / kVertrauenDatei));
        const long bisher = Anmeldungen(*server);
        for (bool antwort : {false, true}) {
            std::tie(f, e) = hochladen(antwort);
            ASSERT_EQ(f.fragen.size(), 1u);
            EXPECT_NE(f.fragen[0].find("Bisher vertraut: " + alt), npos) << f.fragen[0];
            EXPECT_NE(f.fragen[0].find("Jetzt vorgelegt: " + neu), npos) << f.fragen[0];
            EXPECT_EQ(f.geaendert, std::vector<bool>{true});
            EXPECT_EQ(e.vollstaendig, antwort);
            EXPECT_EQ(vertraut(), antwort ? neu : alt);
        }
        EXPECT_GT(Anmeldungen(*server), bisher);
    }
}

// Refused before a file went out, each with its own event: no TLS (and no password sent), no PROT P,
// 421 at the greeting.
TEST(SicherUpload, AbgewiesenMitEigenemEreignis) {
    TempDir t;
    const auto zert = ZertifikatErzeugen(t.path(), "server");
    SicherServer ohneTls, ohneProt(zert, "--ohne-prot");
    FtpServer voll("--voll");
    fs::create_directories(t / "data");
    Vertrauen v;
    v.Setzen(*AdresseLesen(ohneProt.adresse()), zert.fingerabdruck);
    ASSERT_TRUE(v.Speichern(t / "data" / kVertrauenDatei));
    writeFile(t / "output/style.css", "x");
    const struct {
        std::string adresse;
        const char* grund;
        int ereignis;
    } faelle[] = {
        {ohneTls.adresse(), "keine verschlüsselte Verbindung (TLS)", 11},
        {ohneProt.adresse(), "(PROT P)", kVerschluesselungAbgelehnt},
        {voll.adresse(), "nimmt zurzeit keine Verbindung an", kServerAbweisend},
    };
    for (const auto& f : faelle) {
        Frager fr;
        std::unique_ptr<InternetSitzung> s;
        std::unique_ptr<ServerVerbindung> verbindung;
        const auto e =
            Upload(fr, s, verbindung, t / "data")
                .DatenUebertragen({"test", f.adresse, kFtpBenutzer, kFtpPasswort}, t / "output", {});
        EXPECT_FALSE(e.verbunden);
        ASSERT_EQ(fr.meldungen.size(), 1u);
        EXPECT_NE(fr.meldungen[0].find(f.grund), npos) << fr.meldungen[0];
        EXPECT_EQ(fr.ereignisse.back(), f.ereignis);
    }
}
