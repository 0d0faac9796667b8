#include "app/batch.h"
#include "app/desktopstart.h"
#include "app/velmaroapp.h"

#include <cstring>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], velmaro::kDesktopOption) == 0)
        return velmaro::desktopStart(argc, argv);
    if (argc > 1)
        return velmaro::batchMain(argc, argv);
    return velmaro::VelmaroApp().InitInstance(argc, argv);
}
