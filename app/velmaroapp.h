#pragma once

#include <filesystem>

namespace velmaro {

// The application object: starts the window system, the FTP library and the main window.
class VelmaroApp {
public:
    // The window works on the files below ordner.
    int InitInstance(int argc, char** argv, const std::filesystem::path& ordner = ".");
};

} // namespace velmaro
