// "Verbindung testen" against real servers: what it answers, and that it leaves the server as it
// was (no file, no folder, and no password for a server that offers no TLS).
#include "publish/verbindungstest.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
using F = Fehlerart;

TEST(Verbindungstest, AntwortenJeFall) {
    TempDir t;
    const auto zert = ZertifikatErzeugen(t.path(), "velmaro-test");
    const auto schluessel = HostschluesselErzeugen(t.path(), "host");
    SicherServer ftps(zert), sftp(schluessel), ohneTls;
    FtpServer ftp, geschlossen;
    geschlossen.anhalten();
    const std::string s = sftp.adresse(), p = kFtpPasswort;
    Vertrauen vertraut, anders;
    vertraut.Setzen(*AdresseLesen(ftps.adresse()), zert.fingerabdruck);
    vertraut.Setzen(*AdresseLesen(s), schluessel.fingerabdruck);
    anders.Setzen(*AdresseLesen(s), "SHA256:Dcukt7zsYAeG24SCLaDDwZQ9Bwj8rtk0NmwFurydkjQ");
    const fs::path keiner;

    const struct {
        std::string adresse, passwort;
        const Vertrauen& vertrauen;
        const fs::path& ordnerAnlegen; // "data" is made there first
        Fehlerart art;
        std::string text;
    } faelle[] = {
        {ftps.adresse(), p, vertraut, keiner, F::Keiner, "FTPS (verschlüsselt) funktioniert"},
        {s, p, vertraut, keiner, F::Keiner, "„data“ fehlt noch; er wird beim ersten Hochladen angelegt"},
        {"ftp://" + ftp.adresse(), p, vertraut, keiner, F::Keiner, "unverschlüsselt"},
        {ftps.adresse(), p, vertraut, ftps.wurzel(), F::Keiner, "„data“ ist vorhanden"},
        {s, p, vertraut, sftp.wurzel(), F::Keiner, "„data“ ist vorhanden"},
        {ftps.adresse(), "falsch", vertraut, keiner, F::AnmeldungAbgelehnt, "oder das Passwort abgelehnt"},
        {ftps.adresse(), p, anders, keiner, F::IdentitaetUnbekannt, "Fingerabdruck: " + zert.fingerabdruck},
        {s, p, anders, keiner, F::IdentitaetGeaendert, "Bisher vertraut: SHA256:Dcukt7zs"},
        {ohneTls.adresse(), p, vertraut, keiner, F::TlsAbgelehnt, "keine verschlüsselte Verbindung (TLS)"},
        {"ftps://nichtda.invalid", p, vertraut, keiner, F::HostUnbekannt, "nicht gefunden"},
        {"sftp://" + geschlossen.adresse(), p, vertraut, keiner, F::PortGeschlossen, "keine Verbindung an"},
        {"ftps://ftp example.de", p, vertraut, keiner, F::Einstellungen, "ist ungültig"},
        {"", p, vertraut, keiner, F::KeineAdresse, "keine FTP-Adresse eingetragen"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.adresse + " " + f.passwort + " " + f.text);
        if (!f.ordnerAnlegen.empty())
            fs::create_directory(f.ordnerAnlegen / "data");
        const auto r = VerbindungTesten(f.adresse, kFtpBenutzer, f.passwort, f.vertrauen);
        EXPECT_EQ(r.art, f.art);
        EXPECT_EQ(r.ordnerVorhanden, !f.ordnerAnlegen.empty());
        EXPECT_NE(r.text.find(f.text), std::string::npos) << r.text;
    }
    EXPECT_TRUE(fs::is_empty(ftp.wurzel()));
    for (const auto* server : {&ftps, &sftp})
        EXPECT_TRUE(fs::is_empty(server->wurzel() / "data"));

    // "--trust": only what the server presents now is recorded, hex digits in either case.
    std::string klein = zert.fingerabdruck, text;
    std::transform(klein.begin(), klein.end(), klein.begin(), ::tolower);
    const struct {
        std::string adresse, fingerabdruck;
        bool aufgenommen;
    } vertrauensfaelle[] = {
        {s, zert.fingerabdruck, false},      {"ftp://" + ftp.adresse(), zert.fingerabdruck, false},
        {ohneTls.adresse(), klein, false},   {ftps.adresse(), klein, true},
        {s, schluessel.fingerabdruck, true},
    };
    Vertrauen neu;
    for (const auto& f : vertrauensfaelle)
        EXPECT_EQ(FingerabdruckAufnehmen(f.adresse, f.fingerabdruck, neu, text), f.aufgenommen)
            << f.adresse << text;
    EXPECT_EQ(neu.eintraege(), vertraut.eintraege());
    // Asked for TLS, refused, and gone: no USER, no PASS.
    EXPECT_EQ(ohneTls.befehle(), (std::vector<std::string>{"AUTH TLS", "AUTH SSL", "AUTH TLS", "AUTH SSL"}));
}
