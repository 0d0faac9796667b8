#include "app/batch.h"

#include "app/curlstart.h"
#include "app/version.h"
#include "app/vorschaubatch.h"
#include "platform/cp1252.h"
#include "publish/upload.h"
#include "publish/verbindungstest.h"
#include "site/generator.h"
#include "store/zustand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <iostream>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

int generieren(VelmaroZustand& z, GeneratorErgebnis& erzeugt, std::ostream& out, std::ostream& err) {
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
    z.ResteEntfernen();
    const Ladezustand daten = z.DatenDateiLesen();
    const Ladezustand style = z.StyleDateiLesen();
    bool beschaedigt = false;
    for (auto [zustand, name] : {std::pair{daten, "daten.bit"}, std::pair{style, "styleconfig.bit"}}) {
        if (zustand == Ladezustand::Beschaedigt) {
            err << "velmaro: data/" << name
                << " ist beschädigt (endet mitten in einem Wert oder enthält einen ungültigen Wert); output/ "
                   "bleibt unverändert\n";
            beschaedigt = true;
        } else if (zustand == Ladezustand::Unlesbar) {
            err << "velmaro: data/" << name << " kann nicht gelesen werden (" << z.m_gesperrt[name].grund
                << "); output/ bleibt unverändert\n";
            beschaedigt = true;
        }
    }
    if (beschaedigt)
        return 1;
    if (daten == Ladezustand::Fehlt)
        err << "velmaro: data/daten.bit fehlt oder ist leer; die Seiten enthalten keine Artikel\n";

    erzeugt = WebsiteErzeugen(z.m_artikelListe, z.m_artikelProSeite, z.m_style, z.ausgabeOrdner());
    if (erzeugt.fehlendeDateien.empty()) {
        out << erzeugt.anzahlSeiten << (erzeugt.anzahlSeiten == 1 ? " Indexseite" : " Indexseiten") << " und "
            << erzeugt.anzahlArtikel << " Artikel nach " << z.ausgabeOrdner().string() << " geschrieben\n";
        return 0;
    }
    err << "velmaro: " << z.ausgabeOrdner().string() << " ist unvollständig, nicht geschrieben:";
    for (const std::string& name : erzeugt.fehlendeDateien)
        err << ' ' << cp1252::toUtf8(name);
    err << '\n';
    return 1;
}

namespace {
// --generate, then the upload with data/ftpconfig.bit: every file's outcome on err. 0 only when
// every file was written and sent.
int veroeffentlichen(VelmaroZustand& z, bool alle, std::ostream& out, std::ostream& err) {
    GeneratorErgebnis erzeugt;
    const int status = generieren(z, erzeugt, out, err);
    // A partly written site is not sent: the server keeps its complete older one.
    if (status != 0) {
        if (!erzeugt.fehlendeDateien.empty())
            err << "velmaro: nichts übertragen; die Website auf dem Server bleibt, wie sie war\n";
        return status;
    }
    switch (z.FtpDateiLesen()) {
    case Ladezustand::Fehlt:
        err << "velmaro: data/ftpconfig.bit fehlt oder ist leer; ohne FTP-Zugangsdaten kein Upload\n";
        return 1;
    case Ladezustand::Unlesbar:
        err << "velmaro: data/ftpconfig.bit kann nicht gelesen werden ("
            << z.m_gesperrt["ftpconfig.bit"].grund << "); ohne FTP-Zugangsdaten kein Upload\n";
        return 1;
    default:
        break;
    }
    std::unique_ptr<InternetSitzung> sitzung;
    std::unique_ptr<ServerVerbindung> verbindung;
    TextBeobachter beobachter(err);
    Upload upload(beobachter, sitzung, verbindung, z.m_ordner / "data");
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
        err << "velmaro: data/ftpconfig.bit fehlt oder kann nicht gelesen werden; kein Server eingestellt\n";
        return 1;
    }
    Vertrauen liste;
    const auto datei = z.datenPfad(kVertrauenDatei);
    std::string text;
    if (!liste.Laden(datei)) {
        err << "velmaro: data/vertrauen.bit kann nicht gelesen werden: " << liste.fehlerText() << "\n";
        return 1;
    }
    if (!FingerabdruckAufnehmen(z.m_ftp.adresse, fingerabdruck, liste, text)) {
        err << "velmaro: " << text << "\n";
        return 1;
    }
    if (!liste.Speichern(datei)) {
        err << "velmaro: data/vertrauen.bit kann nicht geschrieben werden: " << liste.fehlerText() << "\n";
        return 1;
    }
    out << text << "\n";
    return 0;
}
} // namespace

std::optional<fs::path> nurOrdner(int argc, char** argv) {
    const std::string eins = argc > 1 ? argv[1] : "";
    if (argc == 3 && (eins == "-C" || eins == "--workdir"))
        return fs::path(argv[2]);
    if (argc == 2 && eins.rfind("--workdir=", 0) == 0)
        return fs::path(eins.substr(10));
    return std::nullopt;
}

int batchMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmaro"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMARO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Pflegt die Nachrichten einer Website. Ohne Argumente startet das Fenster."));
    const QCommandLineOption hilfe = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption workdir({QStringLiteral("C"), QStringLiteral("workdir")},
                                     QStringLiteral("Arbeitet im Ordner DIR statt im aktuellen."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption generate(
        QStringLiteral("generate"),
        QStringLiteral("Schreibt output/ aus data/ wie \"Update Website\", ohne Upload."));
    const QCommandLineOption publish(QStringLiteral("publish"),
                                     QStringLiteral("Wie --generate, dann Upload mit data/ftpconfig.bit."));
    const QCommandLineOption preview(
        QStringLiteral("preview"),
        QStringLiteral("Wie --generate, dann die Seiten als lokales HTML in vorschau/; gibt die erste aus."));
    const QCommandLineOption trust(
        QStringLiteral("trust"),
        QStringLiteral(
            "Vertraut dem Zertifikat oder Schlüssel des eingestellten Servers, wenn er jetzt diesen "
            "Fingerabdruck vorlegt."),
        QStringLiteral("FINGERABDRUCK"));
    const QCommandLineOption all(
        QStringLiteral("all"),
        QStringLiteral("Mit --publish: alle Dateien senden, auch die auf dem Server aktuellen."));
    parser.addOptions({workdir, generate, publish, preview, trust, all});
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString grund =
            !parser.unknownOptionNames().isEmpty()
                ? QStringLiteral("unbekannte Option „%1“").arg(parser.unknownOptionNames().first())
            : parser.errorText().isEmpty()
                ? QStringLiteral("unbekanntes Argument „%1“").arg(parser.positionalArguments().first())
                : parser.errorText();
        std::cerr << "velmaro: " << grund.toStdString() << "\n\n" << parser.helpText().toStdString();
        return 2;
    }
    if (parser.isSet(hilfe))
        parser.showHelp();
    if (parser.isSet(version))
        parser.showVersion();

    if (parser.isSet(trust)) {
        // Recording the trust and publishing are separate steps: the user compares the fingerprint
        // with the provider's in between.
        if (parser.isSet(generate) || parser.isSet(publish) || parser.isSet(preview) || parser.isSet(all)) {
            std::cerr << "velmaro: --trust allein aufrufen, nicht zusammen mit --generate, --publish, "
                         "--preview oder --all\n";
            return 2;
        }
        VelmaroZustand zustand;
        if (parser.isSet(workdir))
            zustand.m_ordner = QDir(parser.value(workdir)).absolutePath().toStdString();
        return vertrauen(zustand, parser.value(trust).toStdString(), std::cout, std::cerr);
    }
    if (parser.isSet(all) && !parser.isSet(publish)) {
        std::cerr << "velmaro: --all gilt nur zusammen mit --publish\n";
        return 2;
    }
    if (!parser.isSet(generate) && !parser.isSet(publish) && !parser.isSet(preview)) {
        std::cerr
            << "velmaro: nichts zu tun; --generate, --publish oder --preview angeben (--help zeigt alles)\n";
        return 2;
    }
    if (parser.isSet(preview) && parser.isSet(publish)) {
        std::cerr << "velmaro: --preview und --publish nacheinander aufrufen, nicht zusammen\n";
        return 2;
    }

    VelmaroZustand zustand;
    if (parser.isSet(workdir))
        zustand.m_ordner = QDir(parser.value(workdir)).absolutePath().toStdString();
    if (parser.isSet(preview))
        return vorschauErzeugen(zustand, std::cout, std::cerr);
    if (parser.isSet(generate) && !parser.isSet(publish)) {
        GeneratorErgebnis erzeugt;
        return generieren(zustand, erzeugt, std::cout, std::cerr);
    }
    const CurlStart curl;
    if (!curl.ok()) {
        std::cerr << "velmaro: die FTP-Bibliothek konnte nicht gestartet werden\n";
        return 1;
    }
    return veroeffentlichen(zustand, parser.isSet(all), std::cout, std::cerr);
}

} // namespace velmaro
