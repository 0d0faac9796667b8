// Connections over FTPS and SFTP against real servers on 127.0.0.1: the server's certificate or
// host key is checked before the password goes out, and trusted servers get every byte.
#include "platform/sicherverbindung.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

using namespace velmaro;
using namespace velmaro::test;

namespace {

// USER and PASS over FTP, password logins over SFTP, as the server saw them.
long anmeldungen(const SicherServer& s) {
    const auto b = s.befehle();
    return std::count_if(b.begin(), b.end(), [](const std::string& z) {
        return z.rfind("USER", 0) == 0 || z == "PASS" || z.rfind(std::string("AUTH ") + kFtpBenutzer, 0) == 0;
    });
}

// Both identities of one protocol and a server presenting the first; wechseln() makes it the second.
struct Aufbau {
    TempDir ordner;
    bool sftp;
    std::string alt, neu, inhaber;
    std::unique_ptr<SicherServer> server;
    std::optional<Hostschluessel> neuerSchluessel;
    std::optional<Zertifikat> neuesZertifikat;

    explicit Aufbau(bool s) : sftp(s) {
        if (sftp) {
            const auto a = HostschluesselErzeugen(ordner.path(), "a");
            neuerSchluessel = HostschluesselErzeugen(ordner.path(), "b");
            alt = a.fingerabdruck, neu = neuerSchluessel->fingerabdruck;
            server = std::make_unique<SicherServer>(a);
        } else {
            const auto a = ZertifikatErzeugen(ordner.path(), "velmaro-a");
            neuesZertifikat = ZertifikatErzeugen(ordner.path(), "velmaro-b");
            alt = a.fingerabdruck, neu = neuesZertifikat->fingerabdruck, inhaber = a.inhaber;
            server = std::make_unique<SicherServer>(a);
        }
    }
    // The same server with another identity (an SFTP server restarts on another port).
    void wechseln() {
        if (sftp)
            server = std::make_unique<SicherServer>(*neuerSchluessel);
        else
            server->ZertifikatWechseln(*neuesZertifikat);
    }
    std::unique_ptr<SichereVerbindung> oeffnen(const std::string& vertraut,
                                               const std::string& passwort = kFtpPasswort) {
        FtpFehler f;
        sitzung = InternetSitzung::Oeffnen("velmaro-test", f);
        auto v = SichereVerbindung::Oeffnen(*sitzung, *AdresseLesen(server->adresse()), kFtpBenutzer,
                                            passwort, vertraut, f, {});
        EXPECT_TRUE(v) << f.grund;
        return v;
    }
    std::unique_ptr<InternetSitzung> sitzung;
};

} // namespace

TEST(SichereVerbindung, ErstkontaktVertrautGeaendertFalschesPasswort) {
    for (bool sftp : {false, true}) {
        SCOPED_TRACE(sftp ? "sftp" : "ftps");
        Aufbau a(sftp);

        auto v = a.oeffnen("");
        EXPECT_FALSE(v->OrdnerWechseln("data"));
        EXPECT_EQ(v->letzteFehlerart(), Fehlerart::IdentitaetUnbekannt);
        EXPECT_EQ(v->identitaet().fingerabdruck, a.alt);
        EXPECT_EQ(v->identitaet().inhaber, a.inhaber);
        EXPECT_NE(v->letzterFehler().grund.find(a.alt), std::string::npos);
        EXPECT_EQ(anmeldungen(*a.server), 0);

        // Trusted: every byte arrives, a file beyond libcurl's buffer, CR LF and all 256 values.
        v = a.oeffnen(a.alt);
        ASSERT_TRUE(v->OrdnerWechseln("data")) << v->letzterFehler().grund;
        EXPECT_EQ(v->identitaet().stand, Identitaet::Vertraut);
        std::string bytes = "zeile\r\nzeile\n";
        for (int i = 0; i < 256; ++i)
            bytes += static_cast<char>(i);
        const std::map<std::string, std::string> dateien = {
            {"style.css", bytes}, {"inhalt0.php", ""}, {"artikel1.php", bytes + std::string(300000, 'x')}};
        for (const auto& [name, inhalt] : dateien) {
            writeFile(a.ordner / name, inhalt);
            EXPECT_TRUE(v->DateiSenden(a.ordner / name, name)) << v->letzterFehler().grund;
        }
        v.reset();
        for (const auto& [name, inhalt] : dateien)
            EXPECT_EQ(readFile(a.server->wurzel() / "data" / name), inhalt) << name;

        v = a.oeffnen(a.alt, "falsch");
        EXPECT_FALSE(v->OrdnerWechseln("data"));
        EXPECT_EQ(v->letzteFehlerart(), Fehlerart::AnmeldungAbgelehnt);

        a.wechseln();
        const long bisher = anmeldungen(*a.server);
        v = a.oeffnen(a.alt);
        EXPECT_FALSE(v->OrdnerWechseln("data"));
        EXPECT_EQ(v->letzteFehlerart(), Fehlerart::IdentitaetGeaendert);
        EXPECT_EQ(v->identitaet().gespeichert, a.alt);
        EXPECT_EQ(v->identitaet().fingerabdruck, a.neu);
        for (const auto& f : {a.alt, a.neu})
            EXPECT_NE(v->letzterFehler().grund.find(f), std::string::npos);
        EXPECT_EQ(anmeldungen(*a.server), bisher);
    }
}

TEST(SichereVerbindung, ServerOhneTlsBekommtKeinPasswort) {
    SicherServer ohneTls;
    FtpFehler f;
    auto sitzung = InternetSitzung::Oeffnen("velmaro-test", f);
    auto v = SichereVerbindung::Oeffnen(*sitzung, *AdresseLesen(ohneTls.adresse()), kFtpBenutzer,
                                        kFtpPasswort, "", f, {});
    EXPECT_FALSE(v->OrdnerWechseln("data"));
    EXPECT_EQ(v->letzteFehlerart(), Fehlerart::TlsAbgelehnt);
    v.reset();
    EXPECT_EQ(ohneTls.befehle(), (std::vector<std::string>{"AUTH TLS", "AUTH SSL"}));
}
