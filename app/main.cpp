#include "app/batch.h"
#include "app/befehlszeile.h"
#include "app/velmaroapp.h"

#include <QCoreApplication>

#include <iostream>
#include <optional>

int main(int argc, char** argv) {
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
