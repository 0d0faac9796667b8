// libFuzzer harness: any bytes as data/daten.bit and data/styleconfig.bit must load without a crash,
// and what loaded must write and load back to the same list.
#include "app/zustand.h"
#include "store/archive.h"

#include "../support/memdevice.h"

#include <cstdlib>

using velmaro::test::MemDevice;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    velmaro::VelmaroZustand z;
    z.m_marker = {"ARTIKEL", "ENDE"};
    try {
        MemDevice in(bytes);
        z.DatenLaden(in);
    } catch (const velmaro::ArchiveError&) {
    }
    MemDevice out;
    z.DatenSpeichern(out);
    velmaro::VelmaroZustand wieder;
    wieder.m_marker = z.m_marker;
    MemDevice in2(out.data);
    wieder.DatenLaden(in2);
    if (wieder.m_artikelListe.size() != z.m_artikelListe.size())
        std::abort();

    velmaro::VelmaroZustand style;
    try {
        MemDevice in3(bytes);
        style.StyleConfigLaden(in3);
    } catch (const velmaro::ArchiveError&) {
    }
    return 0;
}
