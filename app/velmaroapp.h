#pragma once

namespace velmaro {

// The application object: starts the window system, the FTP library and the main window.
class VelmaroApp {
public:
    int InitInstance(int argc, char** argv);
};

} // namespace velmaro
