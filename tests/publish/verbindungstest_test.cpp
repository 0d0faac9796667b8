// "Verbindung testen" against real servers: what it answers, and that it leaves the server as it
// was (no file, no folder).
#include "publish/verbindungstest.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

TEST(Verbindungstest, AntwortenJeFall) {
    TempDir t;
    const auto zert = ZertifikatErzeugen(t.path(), "velmaro-test");
    const auto schluessel = HostschluesselErzeugen(t.path(), "host");
    SicherServer ftps(zert), sftp(schluessel), ohneTls;
    FtpServer ftp, geschlossen;
    geschlossen.anhalten();
    const std::string ftpsAdresse = ftps.adresse(), sftpAdresse = sftp.adresse();
    Vertrauen vertraut, anders;
    vertraut.Setzen(*AdresseLesen(ftpsAdresse), zert.fingerabdruck);
    vertraut.Setzen(*AdresseLesen(sftpAdresse), schluessel.fingerabdruck);
    anders.Setzen(*AdresseLesen(sftpAdresse), "SHA256:Dcukt7zsYAeG24SCLaDDwZQ9Bwj8rtk0NmwFurydkjQ");

    const struct {
        std::string adresse;
        const char* passwort;
        const Vertrauen& vertrauen;
        fs::path ordnerAnlegen;
        Fehlerart art;
        bool vorhanden;
        std::string text;
    } faelle[] = {
        {ftpsAdresse,
         kFtpPasswort,
         vertraut,
         {},
         Fehlerart::Keiner,
         false,
         "FTPS (verschlüsselt) funktioniert"},
        {ftpsAdresse, kFtpPasswort, vertraut, ftps.wurzel(), Fehlerart::Keiner, true, "„data“ ist vorhanden"},
        {sftpAdresse, kFtpPasswort, vertraut, {}, Fehlerart::Keiner, false, "beim ersten Hochladen angelegt"},
        {sftpAdresse, kFtpPasswort, vertraut, sftp.wurzel(), Fehlerart::Keiner, true, "„data“ ist vorhanden"},
        {"ftp://" + ftp.adresse(), kFtpPasswort, vertraut, {}, Fehlerart::Keiner, false, "unverschlüsselt"},
        {ftpsAdresse,
         "falsch",
         vertraut,
         {},
         Fehlerart::AnmeldungAbgelehnt,
         false,
         "oder das Passwort abgelehnt"},
        {sftpAdresse,
         "falsch",
         vertraut,
         {},
         Fehlerart::AnmeldungAbgelehnt,
         false,
         "oder das Passwort abgelehnt"},
        {ftpsAdresse, kFtpPasswort, anders, {}, Fehlerart::IdentitaetUnbekannt, false, zert.fingerabdruck},
        {sftpAdresse,
         kFtpPasswort,
         anders,
         {},
         Fehlerart::IdentitaetGeaendert,
         false,
         schluessel.fingerabdruck},
        {sftpAdresse, kFtpPasswort, anders, {}, Fehlerart::IdentitaetGeaendert, false, "SHA256:Dcukt7zs"},
        {ohneTls.adresse(),
         kFtpPasswort,
         vertraut,
         {},
         Fehlerart::TlsAbgelehnt,
         false,
         "keine verschlüsselte"},
        {"ftps://nichtda.invalid",
         kFtpPasswort,
         vertraut,
         {},
         Fehlerart::HostUnbekannt,
         false,
         "nicht gefunden"},
        {"sftp://" + geschlossen.adresse(),
         kFtpPasswort,
         vertraut,
         {},
         Fehlerart::PortGeschlossen,
         false,
         "keine Verbindung an"},
        {"ftps://ftp example.de",
         kFtpPasswort,
         vertraut,
         {},
         Fehlerart::Einstellungen,
         false,
         "ist ungültig"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.adresse + " " + f.passwort + " " + f.text);
        if (!f.ordnerAnlegen.empty())
            fs::create_directory(f.ordnerAnlegen / "data");
        const auto r = VerbindungTesten(f.adresse, kFtpBenutzer, f.passwort, f.vertrauen);
        EXPECT_EQ(r.art, f.art) << r.text;
        EXPECT_EQ(r.ordnerVorhanden, f.vorhanden);
        EXPECT_NE(r.text.find(f.text), std::string::npos) << r.text;
    }
    // It looked, but created nothing and sent nothing.
    EXPECT_TRUE(fs::is_empty(ftp.wurzel()));
    for (const auto* s : {&ftps, &sftp})
        EXPECT_TRUE(fs::is_empty(s->wurzel() / "data"));
}
