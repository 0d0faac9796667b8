#pragma once

namespace velmaro {

// velmaro with arguments: generate and publish without a window. Returns the exit status.
int batchMain(int argc, char** argv);

} // namespace velmaro
