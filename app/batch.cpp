#include "app/batch.h"

#include "app/zustand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <curl/curl.h>

#include <iostream>

namespace velmaro {

int batchMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmaro"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMARO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Pflegt die Nachrichten einer Website. Ohne Argumente startet das Fenster."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption workdir({QStringLiteral("C"), QStringLiteral("workdir")},
                                     QStringLiteral("Arbeitet im Ordner DIR statt im aktuellen."), QStringLiteral("DIR"));
    const QCommandLineOption generate(QStringLiteral("generate"),
                                      QStringLiteral("Schreibt output/ aus data/ wie \"Update Website\", ohne Upload."));
    const QCommandLineOption publish(QStringLiteral("publish"),
                                     QStringLiteral("Wie --generate, dann Upload mit data/ftpconfig.bit."));
    parser.addOptions({workdir, generate, publish});
    parser.process(app);

    if (!parser.isSet(generate) && !parser.isSet(publish)) {
        std::cerr << "velmaro: nichts zu tun; --generate oder --publish angeben (--help zeigt alles)\n";
        return 2;
    }

    VelmaroZustand zustand;
    if (parser.isSet(workdir))
        zustand.m_ordner = QDir(parser.value(workdir)).absolutePath().toStdString();
    std::cerr << "velmaro: --generate und --publish sind noch nicht eingebaut\n";
    return 2;
}

} // namespace velmaro
