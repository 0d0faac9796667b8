// The upload side of bench/upload-bench, which starts the server, times the runs and compares
// them with the curl command line.
// bench/schnell-bench uses it for the uploads that send only what changed.
//   velmaro_upload_bench erzeugen DIR ARTIKEL [PRO_SEITE [BEARBEITET]]
//       writes DIR/output with the site generator (nine articles per page unless given; with
//       BEARBEITET that article's text changed) and prints "<index pages> <articles>".
//   velmaro_upload_bench hochladen DIR ADRESSE BENUTZER PASSWORT SEITEN ARTIKEL [record]
//       uploads DIR/output as "Update Website" does; exit 0 when every file arrived. With
//       "record", DIR/data/uebertragen.bit decides what is sent; prints "<sent> <current>".
#include "publish/upload.h"
#include "site/generator.h"
#include "store/zustand.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

using namespace velmaro;

namespace {

int erzeugen(const char* ordner, int anzahl, const char* proSeite, int bearbeitet) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_artikelProSeite = proSeite;
    std::mt19937 zufall(815);
    std::uniform_int_distribution<std::size_t> laenge(200, 4000);
    std::uniform_int_distribution<int> zeichen('a', 'z');
    DateTime datum = DateTime::fromParts(2024, 1, 1, 12);
    for (int i = 0; i < anzahl; ++i) {
        Artikel a{datum, "Meldung " + std::to_string(i), std::string(laenge(zufall), ' ')};
        for (char& c : a.textinhalt)
            c = static_cast<char>(zeichen(zufall));
        if (i + 1 == bearbeitet)
            a.textinhalt.insert(0, "Bearbeitet: ");
        z.ArtikelEinfuegen(a);
    }
    const GeneratorErgebnis e =
        WebsiteErzeugen(z.m_artikelListe, z.m_artikelProSeite, z.m_style, z.m_ftp, z.ausgabeOrdner());
    if (!e.fehlendeDateien.empty()) {
        std::cerr << "could not write all files\n";
        return 1;
    }
    std::cout << e.anzahlSeiten << ' ' << e.anzahlArtikel << '\n';
    return 0;
}

// Only failures are worth a line.
struct Still : UploadBeobachter {
    void Ereignis(Ereignisart) override {}
    void Fortschritt(const std::string&) override {}
    void Meldung(const std::string& text, const std::string&) override { std::cerr << text << '\n'; }
};

int hochladen(char** a, bool record) {
    VelmaroZustand z;
    z.m_ordner = a[0];
    z.m_ftp.name = "velmaro-bench";
    z.m_ftp.adresse = a[1];
    z.m_ftp.zugangsname = a[2];
    z.m_ftp.passwort = a[3];
    GeneratorErgebnis erzeugt;
    erzeugt.anzahlSeiten = std::atoi(a[4]);
    erzeugt.anzahlArtikel = std::atoi(a[5]);
    erzeugt.dateien = SeitenDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel);
    Still still;
    std::unique_ptr<Serververbindung> verbindung;
    std::filesystem::path daten;
    if (record) {
        daten = z.m_ordner / "data";
        std::filesystem::create_directories(daten);
    }
    const UploadErgebnis e =
        Upload(still, verbindung, daten).DatenUebertragen(z.m_ftp, z.ausgabeOrdner(), erzeugt);
    if (record)
        std::cout << e.gesendet << ' ' << e.aktuell << '\n';
    return e.vollstaendig ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string modus = argc > 1 ? argv[1] : "";
    if (modus == "erzeugen" && argc >= 4 && argc <= 6)
        return erzeugen(argv[2], std::atoi(argv[3]), argc > 4 ? argv[4] : "9",
                        argc > 5 ? std::atoi(argv[5]) : 0);
    if (modus == "hochladen" && (argc == 8 || (argc == 9 && std::string(argv[8]) == "record")))
        return hochladen(argv + 2, argc == 9);
    std::cerr
        << "usage: velmaro_upload_bench erzeugen DIR ARTIKEL [PRO_SEITE [BEARBEITET]]\n"
           "       velmaro_upload_bench hochladen DIR ADRESSE BENUTZER PASSWORT SEITEN ARTIKEL [record]\n";
    return 2;
}
