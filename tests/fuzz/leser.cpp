#include "leser.h"

#include "store/zustand.h"

#include "../support/memdevice.h"
#include "../support/testdaten.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace velmaro::test {

namespace {

std::string alsText(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

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

// What was read, complete or up to the damage, is what "Beenden" writes: it must read back without
// error and write the same bytes again, so every text, flag and date (bit for bit, a NaN too)
// survived.
std::string zurueckLesen(VelmaroZustand& z, Zugriff laden, Zugriff speichern, const std::string& datei) {
    MemDevice geschrieben;
    (z.*speichern)(geschrieben);
    VelmaroZustand wieder;
    MemDevice in(geschrieben.data);
    if (auto f = versuchen([&] { (wieder.*laden)(in); }, "geschriebene " + datei, true); !f.empty())
        return f;
    MemDevice nochmal;
    (wieder.*speichern)(nochmal);
    if (nochmal.data != geschrieben.data)
        return datei + " nach dem Zurücklesen anders gespeichert";
    return {};
}

// TextFile only opens paths: one memory file per process, rewritten for every input and opened
// through /proc, keeps the fuzzer off the disk and leaves nothing behind when it is killed.
class Speicherdatei {
public:
    Speicherdatei() : m_fd(::memfd_create("ftpconfig.bit", MFD_CLOEXEC)) {
        if (m_fd < 0)
            throw std::runtime_error("memfd_create fehlgeschlagen");
        m_pfad = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~Speicherdatei() { ::close(m_fd); }
    Speicherdatei(const Speicherdatei&) = delete;
    Speicherdatei& operator=(const Speicherdatei&) = delete;

    bool lesen(const std::string& bytes, VelmaroZustand& z) {
        if (::ftruncate(m_fd, 0) != 0)
            return false;
        std::size_t fertig = 0;
        while (fertig < bytes.size()) {
            const ssize_t n =
                ::pwrite(m_fd, bytes.data() + fertig, bytes.size() - fertig, static_cast<off_t>(fertig));
            if (n <= 0)
                return false;
            fertig += static_cast<std::size_t>(n);
        }
        TextFile datei;
        if (!datei.openExisting(m_pfad))
            return false;
        z.FtpConfigLesen(datei);
        return true;
    }

private:
    int m_fd;
    std::string m_pfad;
};

Speicherdatei& ftpDatei() {
    static Speicherdatei datei;
    return datei;
}

} // namespace

std::string DatenPruefen(const std::uint8_t* data, std::size_t size) {
    VelmaroZustand z;
    MemDevice in(alsText(data, size));
    if (auto f = versuchen([&] { z.DatenLaden(in); }, "daten.bit"); !f.empty())
        return f;
    // Start-up lists the articles right after the read, whatever dates the file held.
    z.ListenZeilen();
    return zurueckLesen(z, &VelmaroZustand::DatenLaden, &VelmaroZustand::DatenSpeichern, "daten.bit");
}

std::string StyleConfigPruefen(const std::uint8_t* data, std::size_t size) {
    VelmaroZustand z;
    MemDevice in(alsText(data, size));
    if (auto f = versuchen([&] { z.StyleConfigLaden(in); }, "styleconfig.bit"); !f.empty())
        return f;

    // A short file keeps the values read before the damage and the defaults after it.
    return zurueckLesen(z, &VelmaroZustand::StyleConfigLaden, &VelmaroZustand::StyleConfigSpeichern,
                        "styleconfig.bit");
}

std::string FtpConfigPruefen(const std::uint8_t* data, std::size_t size) {
    VelmaroZustand z;
    bool gelesen = false;
    if (auto f = versuchen([&] { gelesen = ftpDatei().lesen(alsText(data, size), z); }, "ftpconfig.bit");
        !f.empty())
        return f;
    if (!gelesen)
        return "ftpconfig.bit: Speicherdatei nicht lesbar";

    // An LF always ends a line, so no value holds one. A CR stays in its value except the one
    // right before an LF; the writer puts a CR LF after each of the first three values and
    // nothing after the last, so even a value ending in CR comes back, and all four values must
    // survive the round trip. Lines after the fourth are dropped.
    for (int i = 0; i < 4; ++i)
        if (Einstellung(z, i).find('\n') != std::string::npos)
            return "FTP-Wert " + std::to_string(i) + " enthält einen Zeilenvorschub";
    MemDevice out;
    writeTextString(out, z.FtpConfigText());
    VelmaroZustand wieder;
    if (!ftpDatei().lesen(out.data, wieder))
        return "geschriebene ftpconfig.bit: Speicherdatei nicht lesbar";
    for (int i = 0; i < 4; ++i)
        if (Einstellung(wieder, i) != Einstellung(z, i))
            return "FTP-Wert " + std::to_string(i) + " anders zurückgelesen";
    return {};
}

void AbbrechenBei(const std::string& fehler, const char* ziel) {
    if (fehler.empty())
        return;
    std::fprintf(stderr, "%s: %s\n", ziel, fehler.c_str());
    std::abort();
}

} // namespace velmaro::test
