#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace velmaro {

class VelmaroZustand;
struct GeneratorErgebnis;

// velmaro with arguments: generate and publish without a window. Returns the exit status: 2 with
// the usage for an argument it does not know.
int batchMain(int argc, char** argv);
// The folder of "velmaro -C DIR" (or --workdir DIR, --workdir=DIR) without anything else: the window
// opens there.
std::optional<std::filesystem::path> nurOrdner(int argc, char** argv);

// Reads data/daten.bit and data/styleconfig.bit below z.m_ordner as the window's start-up does and
// writes output/ as "Update Website" does, without uploading. Prints the counts on out and every
// problem on err. Returns the exit status: 0 when every file was written; 1 when the folder or its
// data/ is missing or a data file is damaged (then nothing is written), or when files could not be
// written. erzeugt receives what the generator wrote.
int generieren(VelmaroZustand& z, GeneratorErgebnis& erzeugt, std::ostream& out, std::ostream& err);

} // namespace velmaro
