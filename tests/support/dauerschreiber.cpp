// Saves one file of DIR/data again and again, the two versions of testdaten.h by turns, until it is
// killed. Writes one byte to stdout once the first save is complete.
//   dauerschreiber DIR daten.bit|styleconfig.bit|ftpconfig.bit
#include "testdaten.h"

#include <unistd.h>

int main(int, char** argv) {
    const velmaro::Datendatei datei = *velmaro::DatendateiMitNamen(argv[2]);
    velmaro::VelmaroZustand fassung[2] = {velmaro::test::Fassung(0, argv[1]),
                                          velmaro::test::Fassung(1, argv[1])};
    for (unsigned long n = 1;; ++n) {
        if (fassung[n % 2].DateiSchreiben(datei))
            return 1;
        if (n == 1 && ::write(STDOUT_FILENO, "!", 1) != 1)
            return 1;
    }
}
