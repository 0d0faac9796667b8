// velmaro -C DIR --publish, run as the real program against a loopback FTP server.
#include "publish/upload.h"
#include "store/zustand.h"

#include "../support/sicherserver.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;
using Liste = std::vector<std::string>;

namespace {

struct BatchPublish : ::testing::Test {
    TempDir arbeit;
    int status = -1;
    std::string aus, fehler; // stdout, stderr

    // Six articles at five per page (style.css, inhalt0-2, artikel1-6), then --publish to server.
    void veroeffentlichen(const FtpServer& server, const std::string& passwort = kFtpPasswort) {
        einrichten(server.adresse(), passwort);
        laufen("--publish");
    }
    void einrichten(const std::string& adresse, const std::string& passwort = kFtpPasswort) {
        ArtikelDateiSchreiben(arbeit.path(), 6, "5");
        writeFile(arbeit / "data/ftpconfig.bit",
                  "Stapel\r\n" + adresse + "\r\n" + kFtpBenutzer + "\r\n" + passwort);
    }
    void laufen(const std::string& optionen, const std::string& vorne = "") {
        std::tie(status, aus) =
            Ausfuehren(vorne + "'" VELMARO_BINARY "' -C '" + arbeit.path().string() + "' " + optionen +
                       " 2>'" + (arbeit / "fehler").string() + "' </dev/null");
        fehler = readFile(arbeit / "fehler");
    }

    void TearDown() override { EXPECT_EQ((aus + fehler).find(kFtpPasswort), npos) << aus << fehler; }
};

} // namespace

TEST_F(BatchPublish, SteuerzeichenAusHandbearbeiteterDateiErreichenDenServerNie) {
    FtpServer server;
    // A lone CR stays in the line: on the wire it would end PASS and start a command of its own.
    veroeffentlichen(server, std::string(kFtpPasswort) + "\rDELE index.php");

    EXPECT_EQ(status, 1);
    EXPECT_NE(fehler.find("Steuerzeichen"), npos) << fehler;
    EXPECT_TRUE(server.befehle().empty()); // refused before connecting
}

// Every file in upload order, sent or not with the reason: a refused file with the server's
// answer, and after a server died every file not tried. 0 only when all arrived. Four connections
// send at once, so how many arrive before the server dies varies.
TEST_F(BatchPublish, JedeDateiStehtMitErgebnisInDerAusgabe) {
    // The server's options, how many files arrive at least, the files it refuses.
    const std::tuple<const char*, std::size_t, Liste> faelle[] = {
        {"", 10, {}}, {"--refuse inhalt2.php", 9, {"inhalt2.php"}}, {"--stop-after 3", 3, {}}};
    for (const auto& [optionen, mindestens, fehlen] : faelle) {
        FtpServer server(optionen);
        veroeffentlichen(server);
        EXPECT_EQ(status, mindestens == 10 ? 0 : 1) << optionen;
        std::size_t pos = 0, gesendet = 0;
        for (const auto& name : SeitenDateien(2, 6)) {
            const auto ja = fehler.find("\ngesendet: " + name + "\n", pos),
                       nein = fehler.find("\nnicht gesendet: " + name + " (", pos);
            ASSERT_NE(std::min(ja, nein), npos) << name << " missing or out of order in:\n" << fehler;
            gesendet += ja < nein;
            // Unless the server died, exactly the refused files are not sent.
            EXPECT_TRUE(mindestens <= 3 ||
                        (ja < nein) == (std::find(fehlen.begin(), fehlen.end(), name) == fehlen.end()))
                << name;
            pos = std::min(ja, nein) + 1;
        }
        EXPECT_GE(gesendet, mindestens) << fehler;
        EXPECT_EQ(fehler.find("550") != npos, !fehlen.empty()) << fehler;
    }
}

// The command line: the batch mode needs no display; help in German with every option; anything
// unknown ends at once with the usage and status 2.
TEST(BatchArgumente, OhneAnzeigeHilfeUndFehler) {
    TempDir leer;
    fs::create_directories(leer / "data");
    const std::tuple<std::string, int, const char*> faelle[] = {
        {"env -u DISPLAY -u QT_QPA_PLATFORM @ -C " + leer.path().string() + " --generate", 0, "1 Indexseite"},
        {"@ --help", 0, "Optionen:\n  -h, --help"},
        {"@ --version", 0, "velmaro " VELMARO_VERSION "\n"},
        {"@ --publsh", 2, "unbekannte Option „publsh“"},
    };
    for (auto [befehl, soll, ausgabe] : faelle) {
        befehl.replace(befehl.find('@'), 1, "timeout 3 '" + std::string(VELMARO_BINARY) + "'");
        const auto [status, aus] = Ausfuehren(befehl + " 2>&1 </dev/null");
        EXPECT_EQ(status, soll) << befehl;
        EXPECT_NE(aus.find(ausgabe), npos) << aus;
        for (const char* zeile : {"Aufruf: ", "--desktop ", "--trust <FINGERABDRUCK>"})
            EXPECT_EQ(aus.find(zeile) != npos, soll == 2 || befehl.find("--help") != npos) << aus;
    }
}

// A certificate the system's certificate store vouches for needs no trust, when it names the server;
// the store is one of the test's own, mounted in the system's place for velmaro alone.
TEST_F(BatchPublish, ZertifikatDerSystemVertrautBrauchtKeineFrage) {
    if (geteuid() != 0)
        GTEST_SKIP() << "a mount of its own needs root";
    const std::string ec = "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
    for (const std::string name : {"10.9.9.9", "127.0.0.1"}) {
        Ausfuehren(
            "cd '" + arbeit.path().string() + "' && " + ec +
            "-x509 -subj /CN=CA -keyout ca.key -out ca.pem && " + ec +
            "-subj /CN=server -addext subjectAltName=IP:" + name + " -keyout s.key -out s.csr && " +
            "openssl x509 -req -in s.csr -CA ca.pem -CAkey ca.key -copy_extensions copy -out s.pem 2>&1");
        SicherServer server(Zertifikat{arbeit / "s.pem", arbeit / "s.key", {}});
        einrichten(server.adresse());
        laufen("--publish",
               "unshare -m sh -c 'mount --bind \"$0\" /etc/ssl/certs/ca-certificates.crt && exec \"$@\"' '" +
                   (arbeit / "ca.pem").string() + "' ");
        EXPECT_EQ(status, name == "127.0.0.1" ? 0 : 1) << fehler;
        EXPECT_EQ(fs::exists(server.wurzel() / "data/artikel6.php"), status == 0);
    }
    EXPECT_FALSE(fs::exists(arbeit / "data/vertrauen.bit"));
}

// Batch mode never asks: an unknown certificate ends --publish with its fingerprint; --trust
// records only what the configured server presents now. Then only what changed goes, or --all.
TEST_F(BatchPublish, UnbekanntesZertifikatNurMitTrustDannNurGeaendertes) {
    const auto zert = ZertifikatErzeugen(arbeit.path(), "server"),
               fremd = ZertifikatErzeugen(arbeit.path(), "x");
    SicherServer server(zert);
    einrichten(server.adresse());
    // Options; exit status; a text in stdout or stderr; whether the trust file exists afterwards.
    const std::tuple<std::string, int, std::string, bool> schritte[] = {
        {"--publish", 1, "--trust " + zert.fingerabdruck, false},
        // Trusting and publishing are two steps: nothing recorded, nothing sent.
        {"--publish --trust " + zert.fingerabdruck, 2, "--trust allein", false},
        {"--trust " + fremd.fingerabdruck, 1, "anderen Fingerabdruck vor: " + zert.fingerabdruck, false},
        {"--trust " + zert.fingerabdruck, 0, "wird nun vertraut", true},
        {"--publish", 0, "11 von 11 Dateien gesendet", true},
        // Sent and confirmed: nothing again, unless asked for everything.
        {"--publish", 0, "0 von 0 Dateien gesendet, 11 waren auf dem Server schon aktuell", true},
        {"--publish --all", 0, "11 von 11 Dateien gesendet", true},
        {"--all", 2, "nur zusammen mit --publish", true},
    };
    for (const auto& [optionen, soll, text, vertraut] : schritte) {
        laufen(optionen);
        EXPECT_EQ(status, soll) << optionen;
        EXPECT_NE((aus + fehler).find(text), npos) << aus << fehler;
        EXPECT_EQ(fs::exists(arbeit / "data/vertrauen.bit"), vertraut) << optionen;
    }
}
