// Servers that refuse the upload before a file goes out, each named by its own event.
#include "publish/upload.h"
#include "store/vertrauen.h"

#include "../support/sicherserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace velmaro;
using namespace velmaro::test;
using enum velmaro::Ereignisart;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

struct Frager : UploadBeobachter {
    std::vector<std::string> meldungen;
    std::vector<Ereignisart> ereignisse;
    void Ereignis(Ereignisart art) override { ereignisse.push_back(art); }
    void Fortschritt(const std::string&) override {}
    void Meldung(const std::string& t, const std::string&) override { meldungen.push_back(t); }
};

} // namespace

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
        Ereignisart ereignis;
    } faelle[] = {
        {ohneTls.adresse(), "keine verschlüsselte Verbindung (TLS)", NichtUebertragen},
        {ohneProt.adresse(), "(PROT P)", VerschluesselungAbgelehnt},
        {voll.adresse(), "nimmt zurzeit keine Verbindung an", ServerAbweisend},
    };
    for (const auto& f : faelle) {
        Frager fr;
        std::unique_ptr<InternetSitzung> s;
        std::unique_ptr<ServerVerbindung> verbindung;
        Upload(fr, s, verbindung, t / "data")
            .DatenUebertragen({"test", f.adresse, kFtpBenutzer, kFtpPasswort}, t / "output", {});
        ASSERT_EQ(fr.meldungen.size(), 1u);
        EXPECT_NE(fr.meldungen[0].find(f.grund), npos) << fr.meldungen[0];
        EXPECT_EQ(fr.ereignisse.back(), f.ereignis);
    }
}
