#include "app/batch.h"
#include "app/desktopstart.h"
#include "app/velmaroapp.h"

#include <cstring>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
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
