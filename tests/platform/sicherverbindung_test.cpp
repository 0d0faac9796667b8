// Connections over FTPS and SFTP against real servers on 127.0.0.1: the certificate or host key is
// checked before the user name and password go out, and a trusted server gets every byte.
#include "platform/sicherverbindung.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmaro;
using namespace velmaro::test;

namespace {} // namespace

TEST(SichereVerbindung, ErstkontaktVertrautGeaendert) {
    for (bool sftp : {false, true}) {
        SCOPED_TRACE(sftp ? "sftp" : "ftps");
        TempDir t;
        WechselServer w(t.path(), sftp);
        const std::string &alt = w.alt, &neu = w.neu, &inhaber = w.inhaber;
        std::unique_ptr<SicherServer>& server = w.server;
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
        EXPECT_EQ(Anmeldungen(*server), 0);

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

        w.wechseln();
        const long bisher = Anmeldungen(*server);
        v = oeffnen(alt);
        EXPECT_FALSE(v->OrdnerWechseln("data"));
        EXPECT_EQ(v->letzteFehlerart(), Fehlerart::IdentitaetGeaendert);
        EXPECT_EQ(v->identitaet().gespeichert, alt);
        EXPECT_EQ(v->identitaet().fingerabdruck, neu);
        for (const auto& fp : {alt, neu})
            EXPECT_NE(v->letzterFehler().grund.find(fp), std::string::npos);
        EXPECT_EQ(Anmeldungen(*server), bisher);
    }
}
