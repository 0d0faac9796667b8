// velmaro -C DIR --publish, run as the real program against a loopback FTP server.
#include "app/zustand.h"
#include "publish/upload.h"

#include "../support/ftpserver.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/wait.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

struct Lauf {
    int status = -1;
    std::string aus;
    std::string fehler;
};

Lauf publish(const fs::path& ordner) {
    TempDir ablage;
    const fs::path aus = ablage / "stdout.txt";
    const fs::path fehler = ablage / "stderr.txt";
    const std::string befehl = "'" + std::string(VELMARO_BINARY) + "' -C '" + ordner.string() +
                               "' --publish >'" + aus.string() + "' 2>'" + fehler.string() + "' </dev/null";
    const int roh = std::system(befehl.c_str());
    Lauf l;
    l.status = WIFEXITED(roh) ? WEXITSTATUS(roh) : -1;
    l.aus = readFile(aus);
    l.fehler = readFile(fehler);
    return l;
}

std::map<std::string, std::string> ordnerInhalt(const fs::path& ordner) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(ordner))
        m[e.path().filename().string()] = readFile(e.path());
    return m;
}

struct BatchPublish : ::testing::Test {
    TempDir arbeit;

    // Six articles at five per page: style.css, inhalt0-2, artikel1-6.
    void datenAnlegen(const std::array<std::string, 4>& ftp) {
        VelmaroZustand z;
        z.m_ordner = arbeit.path();
        z.m_marker = {"ARTIKEL", "ENDE"};
        z.m_artikelProSeite = "5";
        for (int i = 1; i <= 6; ++i) {
            z.m_datum = DateTime::fromParts(2006, 7, i, 8, 15);
            z.m_ueberschrift = "Kurzmeldung " + std::to_string(i);
            z.m_textinhalt = "Inhalt " + std::to_string(i);
            z.ArtikelEinfuegen();
        }
        for (std::size_t i = 0; i < 4; ++i)
            z.m_einstellungen[i] = ftp[i];
        ASSERT_TRUE(z.DateienSchreiben().empty());
    }
    std::array<std::string, 4> zugang(const FtpServer& s) {
        return {"Stapel", s.adresse(), s.optionen().benutzer, s.optionen().passwort};
    }
};

} // namespace

TEST_F(BatchPublish, ErzeugtUndSendetAllesUndMeldetJedeDatei) {
    FtpServer server;
    datenAnlegen(zugang(server));

    const Lauf l = publish(arbeit.path());

    EXPECT_EQ(l.status, 0) << l.fehler;
    const auto lokal = ordnerInhalt(arbeit / "output");
    EXPECT_EQ(lokal.size(), 10u);
    EXPECT_EQ(ordnerInhalt(server.wurzel() / "data"), lokal);
    std::size_t pos = 0;
    for (const auto& name : UploadDateien(2, 6)) {
        const auto hier = l.fehler.find("gesendet: " + name + "\n", pos);
        ASSERT_NE(hier, std::string::npos) << name << " missing or out of order in:\n" << l.fehler;
        pos = hier;
    }
    EXPECT_EQ(l.fehler.find("nicht gesendet"), std::string::npos) << l.fehler;
    EXPECT_EQ(l.fehler.find(server.optionen().passwort), std::string::npos);
}

TEST_F(BatchPublish, FalschesPasswortEndetMitFehlerstatusOhneDasPasswortZuZeigen) {
    FtpServer server;
    auto ftp = zugang(server);
    ftp[3] = "Nicht-Das-Richtige";
    datenAnlegen(ftp);

    const Lauf l = publish(arbeit.path());

    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("Anmeldung"), std::string::npos) << l.fehler;
    EXPECT_NE(l.fehler.find("530"), std::string::npos) << l.fehler;
    EXPECT_EQ(l.fehler.find("Nicht-Das-Richtige"), std::string::npos) << l.fehler;
    EXPECT_EQ(l.aus.find("Nicht-Das-Richtige"), std::string::npos) << l.aus;
    EXPECT_FALSE(fs::exists(server.wurzel() / "data"));
    // The pages are written all the same, as --generate writes them.
    EXPECT_TRUE(fs::exists(arbeit / "output/artikel6.php"));
}

TEST_F(BatchPublish, AbgelehnteDateiNenntGrundUndEndetMitFehlerstatus) {
    FtpServerOptionen o;
    o.abgelehnt = {"inhalt2.php"};
    FtpServer server(o);
    datenAnlegen(zugang(server));

    const Lauf l = publish(arbeit.path());

    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("nicht gesendet: inhalt2.php ("), std::string::npos) << l.fehler;
    EXPECT_NE(l.fehler.find("550"), std::string::npos) << l.fehler;
    EXPECT_NE(l.fehler.find("gesendet: artikel6.php\n"), std::string::npos) << l.fehler;
    EXPECT_TRUE(fs::exists(server.wurzel() / "data" / "artikel6.php"));
}

TEST_F(BatchPublish, SteuerzeichenInDerKonfigurationVerhindernJedeVerbindung) {
    FtpServer server;
    auto ftp = zugang(server);
    // A CR inside a line survives the reading of ftpconfig.bit.
    ftp[2] += "\rMKD boese";
    datenAnlegen(ftp);

    const Lauf l = publish(arbeit.path());

    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("Steuerzeichen"), std::string::npos) << l.fehler;
    EXPECT_TRUE(server.befehle().empty());
    EXPECT_FALSE(fs::exists(server.wurzel() / "boese"));
}

TEST_F(BatchPublish, OhneFtpKonfigurationKeinUpload) {
    datenAnlegen({"", "127.0.0.1:1", "", ""});
    fs::remove(arbeit / "data/ftpconfig.bit");

    const Lauf l = publish(arbeit.path());

    EXPECT_EQ(l.status, 1);
    EXPECT_NE(l.fehler.find("ftpconfig.bit"), std::string::npos) << l.fehler;
    EXPECT_EQ(l.fehler.find("Verbindung zum Server wird hergestellt"), std::string::npos) << l.fehler;
}
