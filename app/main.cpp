#include "app/batch.h"
#include "app/befehlszeile.h"
#include "app/velmaroapp.h"

#include <QCoreApplication>

#include <sys/prctl.h>

#include <iostream>
#include <optional>

int main(int argc, char** argv) {
    // Every mode but --help reads the FTP password at some point and keeps it until the end: no
    // core dump, and no other process of the user's, gets to read it from memory.
    prctl(PR_SET_DUMPABLE, 0);
    // The batch mode needs no display: the window's application object comes only for the window.
    std::optional<QCoreApplication> kern(std::in_place, argc, argv);
    velmaro::AnwendungEinrichten();
    const auto befehl = velmaro::BefehlszeileLesen(QCoreApplication::arguments(), std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&befehl))
        return *status;
    const velmaro::Aufruf& aufruf = std::get<velmaro::Aufruf>(befehl);
    using enum velmaro::Aufruf::Art;
    if (aufruf.art != Fenster && aufruf.art != Desktop)
        return velmaro::BatchAusfuehren(aufruf);
    kern.reset();
    return velmaro::FensterStarten(argc, argv, aufruf);
}
