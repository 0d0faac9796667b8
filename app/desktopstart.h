#pragma once

namespace velmaro {

// The option the desktop entry starts the program with.
inline constexpr const char* kDesktopOption = "--desktop";

// Runs the window in the per-user site folder, created on first start; a folder that cannot be
// created is reported in a box.
int desktopStart(int argc, char** argv);

} // namespace velmaro
