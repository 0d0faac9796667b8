#include "app/batch.h"
#include "app/velmaroapp.h"

int main(int argc, char** argv) {
    if (argc > 1)
        return velmaro::batchMain(argc, argv);
    return velmaro::VelmaroApp().InitInstance(argc, argv);
}
