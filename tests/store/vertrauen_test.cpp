// data/vertrauen.bit: the trusted fingerprints survive a save and a load, per protocol, host and
// port, in a file only its owner can read.
#include "store/vertrauen.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;

TEST(Vertrauen, SpeichernLadenNachServerGetrennt) {
    TempDir t;
    const auto datei = t / "vertrauen.bit";
    Vertrauen v;
    ASSERT_TRUE(v.Laden(datei)); // no file yet: nobody trusted
    const std::string zert = "13:6C:46:4A:EE:C8", schluessel = "SHA256:Dcukt7zs/+YAeG24";
    v.Setzen(*AdresseLesen("ftps://FTP.Example.de"), "alt");
    v.Setzen(*AdresseLesen("ftps://ftp.example.de"), zert);
    v.Setzen(*AdresseLesen("sftp://ftp.example.de:2222"), schluessel);
    ASSERT_TRUE(v.Speichern(datei)) << v.fehlerText();
    EXPECT_EQ(std::filesystem::status(datei).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // A line a person or another version wrote wrong is passed over.
    writeFile(datei, readFile(datei) + "ftps kaputt\r\nftp ftp.example.de 21 AB\r\n");

    Vertrauen w;
    ASSERT_TRUE(w.Laden(datei));
    EXPECT_EQ(w.eintraege().size(), 2u);
    const struct {
        const char* adresse;
        std::optional<std::string> erwartet;
    } faelle[] = {
        {"ftps://ftp.EXAMPLE.de:21", zert},      {"sftp://ftp.example.de:2222", schluessel},
        {"sftp://ftp.example.de", std::nullopt}, {"ftps://ftp.example.de:2121", std::nullopt},
        {"ftp.example.de", std::nullopt},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(w.Fingerabdruck(*AdresseLesen(f.adresse)), f.erwartet) << f.adresse;
}
