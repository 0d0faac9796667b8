#include "app/befehlszeile.h"

#include "store/datendateien.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <ostream>

namespace velmaro {

void AnwendungEinrichten() {
    QCoreApplication::setApplicationName(QStringLiteral("velmaro"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMARO_VERSION));
    // The program speaks German whatever the desktop's language; without the translations Qt's own
    // texts ("Usage:", "Options:") stay English.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

std::variant<Aufruf, int> BefehlszeileLesen(const QStringList& argumente, std::ostream& out,
                                            std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Pflegt die Nachrichten einer Website. Ohne Argumente startet das Fenster im aktuellen "
        "Ordner."));
    const QCommandLineOption hilfe = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption workdir({QStringLiteral("C"), QStringLiteral("workdir")},
                                     QStringLiteral("Arbeitet im Ordner DIR statt im aktuellen."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption desktop(
        QStringLiteral("desktop"),
        QStringLiteral(
            "Startet das Fenster im eigenen Ordner unter $XDG_DATA_HOME/velmaro "
            "(~/.local/share/velmaro) und legt ihn beim ersten Start an; so startet es das Menü."));
    const QCommandLineOption generate(
        QStringLiteral("generate"),
        QStringLiteral("Schreibt output/ aus data/ wie \"Update Website\", ohne Upload."));
    const QCommandLineOption publish(QStringLiteral("publish"),
                                     QStringLiteral("Wie --generate, dann Upload mit data/%1.")
                                         .arg(QString::fromLatin1(DateiName(Datendatei::FtpConfig))));
    const QCommandLineOption all(
        QStringLiteral("all"),
        QStringLiteral("Mit --publish: alle Dateien senden, auch die auf dem Server aktuellen."));
    const QCommandLineOption preview(
        QStringLiteral("preview"),
        QStringLiteral("Wie --generate, dann die Seiten als lokales HTML in vorschau/; gibt die erste aus."));
    const QCommandLineOption trust(
        QStringLiteral("trust"),
        QStringLiteral(
            "Vertraut dem Zertifikat oder Schlüssel des eingestellten Servers, wenn er jetzt diesen "
            "Fingerabdruck vorlegt."),
        QStringLiteral("FINGERABDRUCK"));
    parser.addOptions({workdir, desktop, generate, publish, all, preview, trust});

    const auto falsch = [&](const QString& grund) {
        err << "velmaro: " << grund.toStdString() << "\n\n" << parser.helpText().toStdString();
        return 2;
    };
    if (!parser.parse(argumente)) {
        if (!parser.unknownOptionNames().isEmpty())
            return falsch(QStringLiteral("unbekannte Option „%1“").arg(parser.unknownOptionNames().first()));
        return falsch(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty())
        return falsch(QStringLiteral("unbekanntes Argument „%1“").arg(parser.positionalArguments().first()));
    if (parser.isSet(hilfe)) {
        out << parser.helpText().toStdString();
        return 0;
    }
    if (parser.isSet(version)) {
        out << "velmaro " VELMARO_VERSION "\n";
        return 0;
    }

    Aufruf a;
    if (parser.isSet(workdir))
        a.ordner = QDir(parser.value(workdir)).absolutePath().toStdString();
    a.alle = parser.isSet(all);
    a.fingerabdruck = parser.value(trust).toStdString();
    if (parser.isSet(preview) && parser.isSet(publish))
        return falsch(QStringLiteral("--preview und --publish nacheinander aufrufen, nicht zusammen"));
    // Recording the trust and publishing are separate steps: the user compares the fingerprint with
    // the provider's in between.
    if (parser.isSet(trust) && (parser.isSet(generate) || parser.isSet(publish) || parser.isSet(preview)))
        return falsch(QStringLiteral("--trust allein aufrufen, nicht zusammen mit --generate, --publish, "
                                     "--preview oder --all"));
    using enum Aufruf::Art;
    if (parser.isSet(trust))
        a.art = Vertrauen;
    else if (parser.isSet(preview))
        a.art = Vorschau;
    else if (parser.isSet(publish))
        a.art = Veroeffentlichen;
    else if (parser.isSet(generate))
        a.art = Erzeugen;
    if (parser.isSet(desktop)) {
        if (a.art != Fenster || a.ordner)
            return falsch(QStringLiteral("--desktop gilt allein, es wählt den Ordner selbst"));
        a.art = Desktop;
    }
    if (a.alle && a.art != Veroeffentlichen)
        return falsch(QStringLiteral("--all gilt nur zusammen mit --publish"));
    return a;
}

} // namespace velmaro
