#pragma once
// One writer per site folder: a lock on a file in data/, held by the system for the life of the
// process, so a crashed holder never blocks the next start.

#include <chrono>
#include <filesystem>
#include <string>

namespace velmaro {

// "Der Ordner … wird schon von einem anderen velmaro bearbeitet (Prozess N)."
std::string BelegtText(const std::filesystem::path& ordner, long haelter);

// False when no file can be made in ordner (read-only, no permission), with the reason.
bool OrdnerBeschreibbar(const std::filesystem::path& ordner, std::string& grund);

class Ordnersperre {
public:
    enum Ergebnis {
        Genommen,     // this process holds it now
        Belegt,       // another process holds it: haelter() names it
        NichtMoeglich // the lock file cannot be made (a read-only folder): nothing can be written there
    };

    Ordnersperre() = default;
    ~Ordnersperre();
    Ordnersperre(const Ordnersperre&) = delete;
    Ordnersperre& operator=(const Ordnersperre&) = delete;

    // Tries for up to warten, then gives up. A lock left by a dead process is taken over.
    Ergebnis Nehmen(const std::filesystem::path& datei,
                    std::chrono::milliseconds warten = std::chrono::milliseconds(0));
    void Freigeben();
    // The process id of the holder, after Belegt.
    long haelter() const { return m_haelter; }
    // The reason, after NichtMoeglich.
    const std::string& fehlerText() const { return m_fehler; }

private:
    int m_fd = -1;
    long m_haelter = 0;
    std::string m_fehler;
};

} // namespace velmaro
