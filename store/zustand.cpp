#include "store/zustand.h"

#include "platform/pruefsumme.h"

#include <sys/stat.h>
#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {
bool gleicherInhalt(const fs::path& a, const fs::path& b) {
    std::string x, y;
    return readWholeFile(a, x) && readWholeFile(b, y) && x == y;
}

// Only a missing or empty file counts as absent; any other failure is a reason not to touch it.
Ladezustand oeffnen(VelmaroZustand& z, BinaryFile& file, Datendatei name) {
    std::string grund;
    if (!file.openRead(z.datenPfad(name))) {
        if (file.missing())
            return Ladezustand::Fehlt;
        grund = leseGrund(file.error());
    } else if (file.length() == 0) {
        return Ladezustand::Fehlt;
    } else if (file.length() > DateiArt(name).hoechstens) {
        grund = "größer als 1 MB";
    } else {
        return Ladezustand::Gelesen;
    }
    z.m_gesperrt[name] = {grund, z.DateiInhalt(name)};
    return Ladezustand::Unlesbar;
}

template <typename Laden> Ladezustand lesen(VelmaroZustand& z, Datendatei name, Laden laden) {
    BinaryFile datei;
    const Ladezustand offen = oeffnen(z, datei, name);
    if (offen != Ladezustand::Gelesen)
        return offen;
    try {
        laden(datei);
    } catch (const FileError& e) {
        z.m_gesperrt[name] = {leseGrund(e.errorNumber()), z.DateiInhalt(name)};
        return Ladezustand::Unlesbar;
    } catch (const std::runtime_error&) {
        return Ladezustand::Beschaedigt;
    }
    return Ladezustand::Gelesen;
}
} // namespace

void VelmaroZustand::ResteEntfernen() {
    removeLeftovers(m_ordner / "data", &IstDatendatei);
}

namespace {
std::string stand(const fs::path& datei) {
    const auto p = dateiPruefsumme(datei);
    return p && p->groesse > 0 ? p->sha256 : std::string();
}
} // namespace

Ladezustand VelmaroZustand::DatenDateiLesen() {
    m_datenStand = stand(datenPfad(Datendatei::Daten));
    return lesen(*this, Datendatei::Daten, [this](Device& d) { DatenLaden(d); });
}

bool VelmaroZustand::DatenAufPlatteGeaendert() const {
    return stand(datenPfad(Datendatei::Daten)) != m_datenStand;
}

void VelmaroZustand::DatenNichtErsetzen(const std::string& grund) {
    m_gesperrt[Datendatei::Daten] = {grund, {}};
}

Ladezustand VelmaroZustand::FtpDateiLesen() {
    TextFile ftpspeicher;
    const Datendatei ftp = Datendatei::FtpConfig;
    if (!ftpspeicher.openExisting(datenPfad(ftp), DateiArt(ftp).hoechstens)) {
        if (ftpspeicher.missing())
            return Ladezustand::Fehlt;
        m_gesperrt[ftp] = {ftpspeicher.error() == EFBIG ? "größer als 1 MB" : leseGrund(ftpspeicher.error()),
                           DateiInhalt(ftp)};
        return Ladezustand::Unlesbar;
    }
    FtpConfigLesen(ftpspeicher);
    return Ladezustand::Gelesen;
}

Ladezustand VelmaroZustand::StyleDateiLesen() {
    return lesen(*this, Datendatei::StyleConfig, [this](Device& d) { StyleConfigLaden(d); });
}

Hinweis VelmaroZustand::UnlesbarText(Datendatei datei) const {
    const auto it = m_gesperrt.find(datei);
    return {std::string("Die Datei data/") + DateiName(datei) +
                " ist vorhanden, kann aber nicht gelesen werden (" +
                (it == m_gesperrt.end() ? std::string() : it->second.grund) +
                ").\nSie wird in diesem Lauf nicht überschrieben. Bitte prüfen Sie die Datei und starten Sie "
                "velmaro danach neu.",
            "Fehler"};
}

namespace {
// Writes bytes atomically; the reason when that failed.
std::optional<std::string> sichern(const fs::path& pfad, const std::string& bytes, mode_t modus) {
    std::string grund;
    if (!replaceFile(pfad, bytes, modus, grund))
        return grund;
    return std::nullopt;
}
} // namespace

std::string VelmaroZustand::DateiInhalt(Datendatei datei) {
    SpeicherDevice puffer;
    if (const auto speichern = DateiArt(datei).speichern)
        (this->*speichern)(puffer);
    return puffer.bytes();
}

std::string VelmaroZustand::Schnappschuss() {
    std::string bytes;
    for (const Datendatei datei : kZustandsDateien)
        bytes += DateiInhalt(datei);
    return bytes;
}

std::optional<Hinweis> VelmaroZustand::DateiSchreiben(Datendatei datei) {
    const std::string n = DateiName(datei);
    const fs::path pfad = datenPfad(datei);
    const mode_t modus = DateiArt(datei).modus;
    // The other files of data/ have classes of their own; written from here they would be emptied.
    if (!DateiArt(datei).speichern)
        return Hinweis{"Die Datei data/" + n + " wird nicht mit den Einstellungen gespeichert.", "Fehler"};
    std::string bytes;
    try {
        bytes = DateiInhalt(datei);
    } catch (const std::exception& e) {
        return Hinweis{"Die Datei data/" + n + " konnte nicht gespeichert werden (" + e.what() + ").",
                       "Fehler"};
    }

    // A file that could not be read, or that its owner made read-only, is left as it is.
    std::string liegenLassen;
    bool geaendert = true;
    if (const auto it = m_gesperrt.find(datei); it != m_gesperrt.end()) {
        liegenLassen = "sie konnte beim Start nicht gelesen werden (" + it->second.grund + ")";
        geaendert = bytes != it->second.inhalt;
    } else if (struct stat st{};
               ::lstat(pfad.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        std::string alt;
        if (readWholeFile(pfad, alt) && alt == bytes)
            return std::nullopt;
        liegenLassen = "sie ist schreibgeschützt";
    }
    if (!liegenLassen.empty()) {
        std::string text = "Die Datei data/" + n + " wurde nicht überschrieben: " + liegenLassen + ".";
        if (!geaendert)
            return Hinweis{text, "Hinweis", false};
        fs::path neu = pfad;
        neu += ".neu";
        if (const auto grund = sichern(neu, bytes, modus))
            return Hinweis{text + "\nAuch data/" + n + ".neu konnte nicht geschrieben werden (" + *grund +
                               "); Ihre Eingaben sind noch im Programm.",
                           "Fehler"};
        return Hinweis{text + "\nWas dieser Lauf dort gespeichert hätte, steht in data/" + n + ".neu.",
                       "Hinweis", false};
    }

    if (const auto grund = sichern(pfad, bytes, modus))
        return Hinweis{"Die Datei data/" + n + " konnte nicht gespeichert werden (" + *grund +
                           ").\nDie bisherige Datei ist unverändert; Ihre Eingaben sind noch im Programm."
                           "\nBitte prüfen Sie den Ordner data und beenden Sie dann erneut.",
                       "Fehler"};
    if (datei == Datendatei::Daten)
        m_datenStand = bytes.empty() ? std::string() : sha256Hex(bytes);
    return std::nullopt;
}

std::vector<Hinweis> VelmaroZustand::DateienSchreiben() {
    std::vector<Hinweis> hinweise;
    std::error_code ec;
    fs::create_directories(m_ordner / "data", ec);
    for (const Datendatei datei : kZustandsDateien)
        if (auto h = DateiSchreiben(datei))
            hinweise.push_back(std::move(*h));
    return hinweise;
}

fs::path VelmaroZustand::SicherungAnlegen(const fs::path& file) {
    for (int i = 1; i < 100; ++i) {
        fs::path kopie = file;
        kopie += i == 1 ? std::string(".bak") : ".bak" + std::to_string(i);
        std::error_code ec;
        if (fs::exists(kopie, ec)) {
            if (gleicherInhalt(file, kopie))
                return kopie;
            continue;
        }
        if (fs::copy_file(file, kopie, ec))
            return kopie;
        return {};
    }
    return {};
}

} // namespace velmaro
