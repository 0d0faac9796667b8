// Sending only what changed, over parallel connections, against a real FTP server: what each
// upload sends after an edit, a new article, a change on the server, a cancel or a damaged record.
#include "publish/upload.h"

#include "../support/ftpserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
using Menge = std::set<std::string>;

namespace {

struct Zaehler : UploadBeobachter {
    std::vector<int> ereignisse;
    std::vector<std::string> fortschritt, meldungen, gesendet;
    int abbrechenNach = -1; // files taken before the user cancels; -1 never
    void Ereignis(int code) override { ereignisse.push_back(code); }
    void Fortschritt(const std::string& t) override { fortschritt.push_back(t); }
    void Meldung(const std::string& t, const std::string&) override { meldungen.push_back(t); }
    void DateiGesendet(const std::string& name) override { gesendet.push_back(name); }
    bool Abgebrochen() override { return abbrechenNach >= 0 && abbrechenNach-- == 0; }
};

struct SchnellUpload : ::testing::Test {
    TempDir t;
    std::vector<Artikel> artikel;
    GeneratorErgebnis erzeugt;
    std::map<std::string, std::string> vorher; // output/ before the last change
    std::unique_ptr<FtpServer> server = std::make_unique<FtpServer>();
    Zaehler b;

    void SetUp() override {
        fs::create_directories(t / "data");
        for (int i = 1; i <= 12; ++i)
            artikel.push_back({DateTime::fromParts(2003, 5, i), "Meldung " + std::to_string(i), "Text"});
        erzeugen();
    }
    std::map<std::string, std::string> ausgabe() {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(t / "output"))
            m[e.path().filename()] = readFile(e.path());
        return m;
    }
    void erzeugen() {
        vorher = fs::exists(t / "output") ? ausgabe() : decltype(vorher){};
        Artikelliste liste;
        for (const auto& a : artikel)
            liste.addTail(a);
        erzeugt = WebsiteErzeugen(liste, "5", StyleWerte{}, t / "output");
    }
    Menge geaendert() {
        Menge m;
        for (const auto& [name, bytes] : ausgabe())
            if (vorher[name] != bytes)
                m.insert(name);
        return m;
    }
    // The files the server was sent (STOR) by one upload.
    Menge hochladen(bool alle = false, int abbrechenNach = -1) {
        const std::size_t ab = server->befehle().size();
        b = {};
        b.abbrechenNach = abbrechenNach;
        std::unique_ptr<InternetSitzung> s;
        std::unique_ptr<ServerVerbindung> v;
        Upload upload(b, s, v, t / "data");
        upload.AlleSenden(alle);
        letztes = upload.DatenUebertragen({"test", server->adresse(), kFtpBenutzer, kFtpPasswort},
                                          t / "output", erzeugt);
        Menge stor;
        for (const auto& z : server->befehle(ab))
            if (z.rfind("STOR ", 0) == 0)
                stor.insert(z.substr(5));
        return stor;
    }
    Menge alle() {
        const auto namen = UploadDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel);
        return {namen.begin(), namen.end()};
    }
    UploadErgebnis letztes;
};

} // namespace

TEST_F(SchnellUpload, SendetNurWasSichGeaendertHat) {
    const fs::path dort = server->wurzel() / "data";
    const struct {
        const char* fall;
        std::function<Menge()> aendern; // returns what must be sent
        bool alle = false;
    } schritte[] = {
        {"erstes Mal", [&] { return alle(); }},
        {"nichts geändert", [&] { return Menge{}; }},
        {"ein Artikel bearbeitet",
         [&] {
             artikel[6].textinhalt = "Neuer Text";
             erzeugen();
             const Menge g = geaendert();
             EXPECT_EQ(g, (Menge{"artikel7.php", "inhalt2.php"})); // its page and its index page
             return g;
         }},
        {"ein Artikel dazu",
         [&] {
             artikel.insert(artikel.begin(), {DateTime::fromParts(2003, 6, 1), "Neu", "Text"});
             erzeugen();
             return geaendert();
         }},
        {"auf dem Server gelöscht",
         [&] {
             fs::remove(dort / "inhalt1.php");
             return Menge{"inhalt1.php"};
         }},
        {"auf dem Server geändert",
         [&] {
             writeFile(dort / "artikel3.php", "fremd");
             return Menge{"artikel3.php"};
         }},
        {"Aufzeichnung für einen anderen Server",
         [&] {
             writeFile(t / "data/uebertragen.bit", "velmaro uebertragen 1\nserver ftp anderer 21 x\n");
             return alle();
         }},
        {"Aufzeichnung beschädigt",
         [&] {
             writeFile(t / "data/uebertragen.bit", "velmaro uebertragen 1\nserver x\nkaputt");
             return alle();
         }},
        {"--all", [&] { return alle(); }, true},
    };
    for (const auto& s : schritte) {
        SCOPED_TRACE(s.fall);
        const Menge erwartet = s.aendern();
        EXPECT_EQ(hochladen(s.alle), erwartet);
        EXPECT_TRUE(letztes.vollstaendig);
        EXPECT_EQ(letztes.gesendet, static_cast<int>(erwartet.size()));
        EXPECT_EQ(letztes.aktuell, static_cast<int>(alle().size() - erwartet.size()));
        EXPECT_EQ(b.ereignisse, (std::vector<int>{8, 9, 10}));
        // The outcomes in upload order, whichever connection finished first.
        auto reihenfolge = UploadDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel);
        std::erase_if(reihenfolge, [&](const std::string& n) { return !erwartet.count(n); });
        EXPECT_EQ(b.gesendet, reihenfolge);
        for (const auto& [name, bytes] : ausgabe())
            EXPECT_EQ(readFile(dort / name), bytes) << name;
    }
    // Nothing to send: said so on the event line.
    EXPECT_EQ(hochladen(), Menge{});
    EXPECT_EQ(b.fortschritt, (std::vector<std::string>{AktuellText(static_cast<int>(alle().size()))}));
    EXPECT_EQ(readFile(t / "data/uebertragen.bit.bak"), "velmaro uebertragen 1\nserver x\nkaputt");
}

TEST_F(SchnellUpload, VierVerbindungenOderWasDerServerErlaubt) {
    for (int erlaubt : {0, 1}) {
        SCOPED_TRACE(erlaubt);
        fs::remove(t / "data/uebertragen.bit");
        server = std::make_unique<FtpServer>(erlaubt ? "--max-cons-per-ip 1" : "");
        EXPECT_EQ(hochladen(), alle());
        EXPECT_TRUE(letztes.vollstaendig);
        EXPECT_TRUE(b.meldungen.empty());
        const auto log = server->befehle();
        EXPECT_EQ(std::count(log.begin(), log.end(), std::string("USER ") + kFtpBenutzer), erlaubt ? 1 : 4);
    }
}

// A cancelled upload sends nothing more; the next one sends exactly the rest.
TEST_F(SchnellUpload, AbgebrochenUndFortgesetzt) {
    const Menge erst = hochladen(false, 6);
    EXPECT_TRUE(letztes.abgebrochen);
    EXPECT_FALSE(letztes.vollstaendig);
    EXPECT_EQ(b.ereignisse.back(), kTeilweiseUebertragen);
    EXPECT_GE(erst.size(), 6u);
    EXPECT_LT(erst.size(), alle().size());
    EXPECT_EQ(letztes.gesendet, static_cast<int>(erst.size()));
    const Menge rest = hochladen();
    EXPECT_TRUE(letztes.vollstaendig);
    Menge beide = erst;
    beide.insert(rest.begin(), rest.end());
    EXPECT_EQ(beide.size(), erst.size() + rest.size());
    EXPECT_EQ(beide, alle());
}
