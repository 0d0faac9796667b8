#include "leser.h"

#include "store/zustand.h"

#include "../support/memdevice.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <sys/mman.h>

namespace velmaro::test {

namespace {

// A damaged or short file ends the read with a runtime_error (ArchiveError, FileError), which the
// start-up turns into "Beschaedigt"; anything else would escape it and end the program. The
// writers' own files (streng) must always read back in full.
template <class Lesen> std::string versuchen(Lesen&& lesen, const std::string& was, bool streng = false) {
    try {
        lesen();
    } catch (const std::runtime_error& e) {
        if (streng)
            return was + ": " + e.what();
    } catch (const std::exception& e) {
        return was + ": unerwartete Ausnahme: " + e.what();
    }
    return {};
}

using Zugriff = bool (VelmaroZustand::*)(Device&);

// Reads the bytes; what was read, complete or up to the damage, is what "Beenden" writes: it must
// read back without error and write the same bytes again, so every text, flag and date (bit for
// bit, a NaN too) survived.
std::string pruefen(const std::uint8_t* data, std::size_t size, Zugriff laden, Zugriff speichern,
                    const std::string& datei) {
    VelmaroZustand z, wieder;
    MemDevice in(size ? std::string(reinterpret_cast<const char*>(data), size) : ""), geschrieben, nochmal;
    if (auto f = versuchen([&] { (z.*laden)(in); }, datei); !f.empty())
        return f;
    // Start-up lists the articles right after the read, whatever dates the file held.
    z.ListenZeilen();
    (z.*speichern)(geschrieben);
    MemDevice zurueck(geschrieben.data);
    if (auto f = versuchen([&] { (wieder.*laden)(zurueck); }, "geschriebene " + datei, true); !f.empty())
        return f;
    (wieder.*speichern)(nochmal);
    return nochmal.data == geschrieben.data ? "" : datei + " nach dem Zurücklesen anders gespeichert";
}

// TextFile only opens paths: one memory file per process, rewritten for every input and opened
// through /proc, keeps the fuzzer off the disk and leaves nothing behind when it is killed. Not a
// runtime_error when it fails, so that the check reports it.
void ftpLesen(const std::string& bytes, VelmaroZustand& z) {
    static const std::string pfad =
        "/proc/self/fd/" + std::to_string(::memfd_create("ftpconfig.bit", MFD_CLOEXEC));
    TextFile datei;
    if (!(std::ofstream(pfad, std::ios::binary) << bytes) || !datei.openExisting(pfad))
        throw std::logic_error("Speicherdatei nicht lesbar");
    z.FtpConfigLesen(datei);
}

} // namespace

std::string DatenPruefen(const std::uint8_t* data, std::size_t size) {
    return pruefen(data, size, &VelmaroZustand::DatenLaden, &VelmaroZustand::DatenSpeichern, "daten.bit");
}

// A short file keeps the values read before the damage and the defaults after it.
std::string StyleConfigPruefen(const std::uint8_t* data, std::size_t size) {
    return pruefen(data, size, &VelmaroZustand::StyleConfigLaden, &VelmaroZustand::StyleConfigSpeichern,
                   "styleconfig.bit");
}

// An LF always ends a line, so no value holds one. A CR stays in its value except the one right
// before an LF; the writer puts a CR LF after each of the first three values and nothing after the
// last, so even a value ending in CR comes back, and all four values must survive the round trip.
// Lines after the fifth are dropped.
std::string FtpConfigPruefen(const std::uint8_t* data, std::size_t size) {
    VelmaroZustand z, wieder;
    const std::string bytes = size ? std::string(reinterpret_cast<const char*>(data), size) : "";
    if (auto f = versuchen([&] { ftpLesen(bytes, z); }, "ftpconfig.bit"); !f.empty())
        return f;
    const FtpZugangsdaten& w = z.m_ftp;
    if ((w.name + w.adresse + w.zugangsname + w.passwort + w.website).find('\n') != std::string::npos)
        return "ein FTP-Wert enthält einen Zeilenvorschub";
    MemDevice out;
    writeTextString(out, z.FtpConfigText());
    ftpLesen(out.data, wieder);
    if (!(wieder.m_ftp == w))
        return "FTP-Werte anders zurückgelesen";
    return {};
}

void AbbrechenBei(const std::string& fehler, const char* ziel) {
    if (fehler.empty())
        return;
    std::fprintf(stderr, "%s: %s\n", ziel, fehler.c_str());
    std::abort();
}

} // namespace velmaro::test
