#include "app/batch.h"
#include "app/desktopstart.h"
#include "app/velmaroapp.h"

#include <sys/prctl.h>

#include <cstring>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    // Every mode but --help reads the FTP password at some point and keeps it until the end: no
    // core dump, and no other process of the user's, gets to read it from memory.
    prctl(PR_SET_DUMPABLE, 0);
    if (argc == 2 && std::strcmp(argv[1], velmaro::kDesktopOption) == 0)
        return velmaro::desktopStart(argc, argv);
    if (const auto ordner = velmaro::nurOrdner(argc, argv)) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*ordner, ec)) {
            std::cerr << "velmaro: Ordner " << ordner->string() << " nicht gefunden\n";
            return 1;
        }
        return velmaro::VelmaroApp().InitInstance(argc, argv, *ordner);
    }
    if (argc > 1)
        return velmaro::batchMain(argc, argv);
    return velmaro::VelmaroApp().InitInstance(argc, argv);
}
