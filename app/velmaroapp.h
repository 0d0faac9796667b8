#pragma once

#include "app/befehlszeile.h"

namespace velmaro {

// The window's run: the application object, the FTP library and the main window in the folder the
// command line names (with --desktop the per-user one, created on first start). Returns the exit
// status.
int FensterStarten(int& argc, char** argv, const Aufruf& aufruf);

} // namespace velmaro
