#pragma once

#include <iosfwd>

namespace velmaro {

class VelmaroZustand;

// --preview: output/ as --generate writes it, then the preview pages into vorschau/. The first
// page's path alone goes to out, so that a script can open it; the counts and every problem go to
// err. 0 only when every file was written.
int VorschauErzeugen(VelmaroZustand& z, std::ostream& out, std::ostream& err);

} // namespace velmaro
