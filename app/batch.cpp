#include "app/batch.h"

#include "app/befehlszeile.h"
#include "app/curlstart.h"
#include "app/vorschaubatch.h"
#include "platform/cp1252.h"
#include "platform/sperre.h"
#include "publish/upload.h"
#include "publish/verbindungstest.h"
#include "site/generator.h"
#include "store/zustand.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

int Generieren(VelmaroZustand& z, GeneratorErgebnis& erzeugt, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(z.m_ordner, ec)) {
        err << "velmaro: Ordner " << z.m_ordner.string() << " nicht gefunden\n";
        return 1;
    }
    // A mistyped -C would otherwise fill some other folder with an empty site.
    if (!fs::is_directory(z.m_ordner / "data", ec)) {
        err << "velmaro: kein Ordner data/ in " << z.m_ordner.string() << "; nichts geschrieben\n";
        return 1;
    }
    // Held until the process ends: --publish writes data/ after generating.
    static Ordnersperre sperre;
    if (sperre.Nehmen(z.datenPfad(Datendatei::Sperre), std::chrono::seconds(3)) == Ordnersperre::Belegt) {
        err << "velmaro: " << BelegtText(z.m_ordner / "data", sperre.haelter()) << " Nichts geschrieben.\n";
        return 1;
    }
    z.ResteEntfernen();
    // The feed's title and address; without them it is written all the same.
    z.FtpDateiLesen();
    bool beschaedigt = false;
    Ladezustand daten = Ladezustand::Fehlt;
    for (const Datendatei datei : {Datendatei::Daten, Datendatei::StyleConfig}) {
        const Ladezustand zustand = (z.*DateiArt(datei).lesen)();
        const char* name = DateiName(datei);
        if (datei == Datendatei::Daten)
            daten = zustand;
        if (zustand == Ladezustand::Beschaedigt) {
            err << "velmaro: data/" << name
                << " ist beschädigt (endet mitten in einem Wert oder enthält einen ungültigen Wert); output/ "
                   "bleibt unverändert\n";
            beschaedigt = true;
        } else if (zustand == Ladezustand::Unlesbar) {
            err << "velmaro: data/" << name << " kann nicht gelesen werden (" << z.m_gesperrt[datei].grund
                << "); output/ bleibt unverändert\n";
            beschaedigt = true;
        }
    }
    if (beschaedigt)
        return 1;
    if (daten == Ladezustand::Fehlt)
        err << "velmaro: data/" << DateiName(Datendatei::Daten)
            << " fehlt oder ist leer; die Seiten enthalten keine Artikel\n";

    erzeugt = WebsiteErzeugen(z.m_artikelListe, z.m_artikelProSeite, z.m_style, z.m_ftp, z.ausgabeOrdner());
    if (erzeugt.fehlendeDateien.empty()) {
        out << erzeugt.anzahlSeiten << (erzeugt.anzahlSeiten == 1 ? " Indexseite" : " Indexseiten") << " und "
            << erzeugt.anzahlArtikel << " Artikel nach " << z.ausgabeOrdner().string() << " geschrieben\n";
        return 0;
    }
    err << "velmaro: " << z.ausgabeOrdner().string() << " nicht erneuert (" << erzeugt.grund
        << "); es enthält weiter die vorige Website\n";
    return 1;
}

namespace {
// --generate, then the upload with data/ftpconfig.bit: every file's outcome on err. 0 only when
// every file was written and sent.
int veroeffentlichen(VelmaroZustand& z, bool alle, std::ostream& out, std::ostream& err) {
    GeneratorErgebnis erzeugt;
    const int status = Generieren(z, erzeugt, out, err);
    // A partly written site is not sent: the server keeps its complete older one.
    if (status != 0) {
        if (!erzeugt.fehlendeDateien.empty())
            err << "velmaro: nichts übertragen; die Website auf dem Server bleibt, wie sie war\n";
        return status;
    }
    const std::string ftp = std::string("data/") + DateiName(Datendatei::FtpConfig);
    switch (z.FtpDateiLesen()) {
    case Ladezustand::Fehlt:
        err << "velmaro: " << ftp << " fehlt oder ist leer; ohne FTP-Zugangsdaten kein Upload\n";
        return 1;
    case Ladezustand::Unlesbar:
        err << "velmaro: " << ftp << " kann nicht gelesen werden ("
            << z.m_gesperrt[Datendatei::FtpConfig].grund << "); ohne FTP-Zugangsdaten kein Upload\n";
        return 1;
    default:
        break;
    }
    std::unique_ptr<Serververbindung> verbindung;
    TextBeobachter beobachter(err);
    Upload upload(beobachter, verbindung, z.m_ordner / "data");
    upload.AlleSenden(alle);
    const UploadErgebnis e = upload.DatenUebertragen(z.m_ftp, z.ausgabeOrdner(), erzeugt);
    out << e.gesendet << " von " << e.zuSenden << " Dateien gesendet";
    if (e.aktuell > 0)
        out << ", " << e.aktuell << " waren auf dem Server schon aktuell";
    if (e.entfernt > 0)
        out << ", " << EntferntText(e.entfernt);
    out << "\n";
    if (e.abgelehnt)
        err << "velmaro: Wenn der Fingerabdruck der Angabe Ihres Anbieters entspricht: velmaro -C "
            << z.m_ordner.string() << " --trust " << e.abgelehnt->fingerabdruck << "\n";
    return e.vollstaendig && !e.fremdeIdentitaet && status == 0 ? 0 : 1;
}

// --trust: only what the configured server presents now can be recorded.
int vertrauen(VelmaroZustand& z, const std::string& fingerabdruck, std::ostream& out, std::ostream& err) {
    if (z.FtpDateiLesen() != Ladezustand::Gelesen) {
        err << "velmaro: data/" << DateiName(Datendatei::FtpConfig)
            << " fehlt oder kann nicht gelesen werden; kein Server eingestellt\n";
        return 1;
    }
    Vertrauen liste;
    const auto datei = z.datenPfad(Datendatei::Vertrauen);
    const std::string name = std::string("data/") + DateiName(Datendatei::Vertrauen);
    std::string text;
    if (!liste.Laden(datei)) {
        err << "velmaro: " << name << " kann nicht gelesen werden: " << liste.fehlerText() << "\n";
        return 1;
    }
    if (!FingerabdruckAufnehmen(z.m_ftp.adresse, fingerabdruck, liste, text)) {
        err << "velmaro: " << text << "\n";
        return 1;
    }
    if (!liste.Speichern(datei)) {
        err << "velmaro: " << name << " kann nicht geschrieben werden: " << liste.fehlerText() << "\n";
        return 1;
    }
    out << text << "\n";
    return 0;
}
} // namespace

int BatchAusfuehren(const Aufruf& aufruf) {
    VelmaroZustand zustand;
    if (aufruf.ordner)
        zustand.m_ordner = *aufruf.ordner;
    switch (aufruf.art) {
    case Aufruf::Art::Vertrauen:
        return vertrauen(zustand, aufruf.fingerabdruck, std::cout, std::cerr);
    case Aufruf::Art::Vorschau:
        return VorschauErzeugen(zustand, std::cout, std::cerr);
    case Aufruf::Art::Erzeugen: {
        GeneratorErgebnis erzeugt;
        return Generieren(zustand, erzeugt, std::cout, std::cerr);
    }
    default:
        break;
    }
    const CurlStart curl;
    if (!curl.ok()) {
        std::cerr << "velmaro: die FTP-Bibliothek konnte nicht gestartet werden\n";
        return 1;
    }
    return veroeffentlichen(zustand, aufruf.alle, std::cout, std::cerr);
}

} // namespace velmaro
