#pragma once
// "Update Website" up to the upload: what the event line says after a generator run.

#include "site/generator.h"

#include <string>

namespace velmaro {

// The event-line text (UTF-8) for a run that could not write every file; empty after a complete run.
std::string UnvollstaendigText(const GeneratorErgebnis& erzeugt);
// The message for such a run: why, and that nothing was uploaded.
std::string ErzeugungsFehlerText(const GeneratorErgebnis& erzeugt);

} // namespace velmaro
