#pragma once

#include <iosfwd>

namespace velmaro {

struct Aufruf;
class VelmaroZustand;
struct GeneratorErgebnis;

// --generate, --publish, --preview and --trust, without a window or a display. Returns the exit
// status.
int BatchAusfuehren(const Aufruf& aufruf);

// Reads data/daten.bit and data/styleconfig.bit below z.m_ordner as the window's start-up does and
// writes output/ as "Update Website" does, without uploading. Prints the counts on out and every
// problem on err. Returns the exit status: 0 when every file was written; 1 when the folder or its
// data/ is missing or a data file is damaged (then nothing is written), or when files could not be
// written. erzeugt receives what the generator wrote.
int Generieren(VelmaroZustand& z, GeneratorErgebnis& erzeugt, std::ostream& out, std::ostream& err);

} // namespace velmaro
