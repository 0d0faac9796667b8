// velmaro -C DIR --publish, run as the real program against a loopback FTP server.
#include "publish/upload.h"
#include "store/zustand.h"

#include "../support/ftpserver.h"
#include "../support/testdaten.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace velmaro;
using namespace velmaro::test;
constexpr auto npos = std::string::npos;

namespace {

struct BatchPublish : ::testing::Test {
    TempDir arbeit;
    int status = -1;
    std::string aus, fehler; // stdout, stderr

    // Six articles at five per page (style.css, inhalt0-2, artikel1-6), then --publish to server.
    void veroeffentlichen(const FtpServer& server, const std::string& passwort = kFtpPasswort) {
        ArtikelDateiSchreiben(arbeit.path(), 6, "5");
        writeFile(arbeit / "data/ftpconfig.bit",
                  "Stapel\r\n" + server.adresse() + "\r\n" + kFtpBenutzer + "\r\n" + passwort);
        const std::string befehl = "'" + std::string(VELMARO_BINARY) + "' -C '" + arbeit.path().string() +
                                   "' --publish >'" + (arbeit / "aus").string() + "' 2>'" +
                                   (arbeit / "fehler").string() + "' </dev/null";
        const int roh = std::system(befehl.c_str());
        status = WIFEXITED(roh) ? WEXITSTATUS(roh) : -1;
        aus = readFile(arbeit / "aus");
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
    EXPECT_NE(fehler.find("„Passwort“"), npos) << fehler;
    EXPECT_NE(fehler.find("Steuerzeichen"), npos) << fehler;
    // No button of the window is named where there is none.
    EXPECT_NE(fehler.find("in data/ftpconfig.bit"), npos) << fehler;
    EXPECT_EQ(fehler.find("„FTP Zugangsdaten ändern“"), npos) << fehler;
    EXPECT_TRUE(server.befehle().empty()); // refused before connecting
}

// Every file in upload order, sent or not with the reason: a refused file with the server's
// answer, and after a server died every file not tried. 0 only when all arrived.
TEST_F(BatchPublish, JedeDateiStehtMitErgebnisInDerAusgabe) {
    for (const auto& [optionen, fehlen] :
         {std::pair{"", std::pair{0u, 0u}}, std::pair{"--refuse inhalt2.php", std::pair{3u, 4u}},
          std::pair{"--stop-after 3", std::pair{3u, 10u}}}) {
        FtpServer server(optionen);
        veroeffentlichen(server);
        EXPECT_EQ(status, fehlen.first == fehlen.second ? 0 : 1) << optionen;
        std::size_t pos = 0;
        const auto alle = UploadDateien(2, 6);
        for (std::size_t i = 0; i < alle.size(); ++i) {
            const bool fehlt = i >= fehlen.first && i < fehlen.second;
            pos = fehler.find(fehlt ? "\nnicht gesendet: " + alle[i] + " (" : "\ngesendet: " + alle[i] + "\n",
                              pos);
            ASSERT_NE(pos, npos) << alle[i] << " missing or out of order in:\n" << fehler;
        }
        EXPECT_EQ(fehler.find("550") != npos, fehlen.second == 4) << fehler;
        EXPECT_EQ(fehler.find("mit --publish wiederholt") != npos, fehlen.first != fehlen.second) << fehler;
        EXPECT_EQ(fehler.find("Update Website"), npos) << fehler;
    }
}

// Arguments: -C DIR alone opens the window there (it is still running after a while); anything
// unknown ends at once with the usage and status 2.
TEST(BatchArgumente, NurOrdnerOeffnetDasFensterUnbekanntesEndetMitStatus2) {
    TempDir leer;
    const struct {
        std::string argumente;
        int status; // 124: still running when timeout ended it
        const char* ausgabe;
    } faelle[] = {
        {"-C '" + leer.path().string() + "'", 124, ""},
        {"--workdir='" + leer.path().string() + "'", 124, ""},
        {"-C '" + (leer / "fehlt").string() + "'", 1, "nicht gefunden"},
        {"--publsh", 2, "unbekannte Option „publsh“"},
        {"-C '" + leer.path().string() + "' generate", 2, "unbekanntes Argument „generate“"},
    };
    for (const auto& f : faelle) {
        const std::string befehl = "QT_QPA_PLATFORM=offscreen timeout 3 '" + std::string(VELMARO_BINARY) +
                                   "' " + f.argumente + " 2>'" + (leer / "fehler").string() + "' </dev/null";
        const int roh = std::system(befehl.c_str());
        EXPECT_EQ(WIFEXITED(roh) ? WEXITSTATUS(roh) : -1, f.status) << f.argumente;
        const std::string fehler = readFile(leer / "fehler");
        EXPECT_NE(fehler.find(f.ausgabe), npos) << fehler;
        EXPECT_EQ(fehler.find("--publish") != npos, f.status == 2) << fehler; // the usage
    }
}
