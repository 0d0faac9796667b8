// Connections over FTPS and SFTP against real servers on 127.0.0.1: the certificate or host key is
// checked before the user name and password go out, and a trusted server gets every byte.
#include "platform/sicherverbindung.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

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

} // namespace

TEST(SichereVerbindung, ErstkontaktVertrautGeaendert) {
    for (bool sftp : {false, true}) {
        SCOPED_TRACE(sftp ? "sftp" : "ftps");
        TempDir t;
        std::string alt, neu, inhaber;
        std::unique_ptr<SicherServer> server;
        std::function<void()> wechseln; // the same server with another identity
        if (sftp) {
            const auto a = HostschluesselErzeugen(t.path(), "a"), b = HostschluesselErzeugen(t.path(), "b");
            alt = a.fingerabdruck, neu = b.fingerabdruck;
            server = std::make_unique<SicherServer>(a);
            wechseln = [&, b] { server = std::make_unique<SicherServer>(b); };
        } else {
            const auto a = ZertifikatErzeugen(t.path(), "velmaro-a"),
                       b = ZertifikatErzeugen(t.path(), "velmaro-b");
            alt = a.fingerabdruck, neu = b.fingerabdruck, inhaber = a.inhaber;
            server = std::make_unique<SicherServer>(a);
            wechseln = [&, b] { server->ZertifikatWechseln(b); };
        }
        FtpFehler f;
        const auto sitzung = InternetSitzung::Oeffnen("velmaro-test", f);
        const auto oeffnen = [&](const std::string& vertraut) {
            return SichereVerbindung::Oeffnen(*sitzung, *AdresseLesen(server->adresse()), kFtpBenutzer,
                                              kFtpPasswort, vertraut, f);
        };

        auto v = oeffnen("");
        EXPECT_FALSE(v->OrdnerWechseln("data"));
        EXPECT_EQ(v->letzteFehlerart(), Fehlerart::IdentitaetUnbekannt);
        EXPECT_EQ(v->identitaet().fingerabdruck, alt);
        EXPECT_EQ(v->identitaet().inhaber, inhaber);
        EXPECT_EQ(anmeldungen(*server), 0);

        // Trusted: every byte arrives, a file beyond libcurl's buffer, CR LF and all 256 values.
        v = oeffnen(alt);
        ASSERT_TRUE(v->OrdnerWechseln("data")) << v->letzterFehler().grund;
        std::string bytes = "zeile\r\nzeile\n";
        for (int i = 0; i < 256; ++i)
            bytes += static_cast<char>(i);
        const std::map<std::string, std::string> dateien = {
            {"style.css", bytes}, {"inhalt0.php", ""}, {"artikel1.php", bytes + std::string(300000, 'x')}};
        for (const auto& [name, inhalt] : dateien) {
            writeFile(t / name, inhalt);
            EXPECT_TRUE(v->DateiSenden(t / name, name)) << v->letzterFehler().grund;
            EXPECT_EQ(v->Groesse(name), inhalt.size()) << name;
        }
        for (const auto& [name, inhalt] : dateien)
            EXPECT_EQ(readFile(server->wurzel() / "data" / name), inhalt) << name;

        wechseln();
        const long bisher = anmeldungen(*server);
        v = oeffnen(alt);
        EXPECT_FALSE(v->OrdnerWechseln("data"));
        EXPECT_EQ(v->letzteFehlerart(), Fehlerart::IdentitaetGeaendert);
        EXPECT_EQ(v->identitaet().gespeichert, alt);
        EXPECT_EQ(v->identitaet().fingerabdruck, neu);
        for (const auto& fp : {alt, neu})
            EXPECT_NE(v->letzterFehler().grund.find(fp), std::string::npos);
        EXPECT_EQ(anmeldungen(*server), bisher);
    }
}
