#include "store/zustand.h"

#include <system_error>

namespace velmaro {

namespace fs = std::filesystem;

namespace {
// Opens a binary file for one of the start-up reads; false for a missing or empty file.
bool oeffnenWennNichtLeer(BinaryFile& file, const fs::path& path) {
    return file.openRead(path) && file.length() != 0;
}

bool gleicherInhalt(const fs::path& a, const fs::path& b) {
    std::string x, y;
    return readWholeFile(a, x) && readWholeFile(b, y) && x == y;
}
} // namespace

Ladezustand VelmaroZustand::DatenDateiLesen() {
    BinaryFile speicher;
    if (!oeffnenWennNichtLeer(speicher, datenPfad("daten.bit")))
        return Ladezustand::Fehlt;
    try {
        DatenLaden(speicher);
    } catch (const std::runtime_error&) {
        return Ladezustand::Beschaedigt;
    }
    return Ladezustand::Gelesen;
}

bool VelmaroZustand::FtpDateiLesen() {
    TextFile ftpspeicher;
    if (!ftpspeicher.openExisting(datenPfad("ftpconfig.bit")))
        return false;
    FtpConfigLesen(ftpspeicher);
    return true;
}

Ladezustand VelmaroZustand::StyleDateiLesen() {
    BinaryFile speicher;
    if (!oeffnenWennNichtLeer(speicher, datenPfad("styleconfig.bit")))
        return Ladezustand::Fehlt;
    try {
        StyleConfigLaden(speicher);
    } catch (const std::runtime_error&) {
        return Ladezustand::Beschaedigt;
    }
    return Ladezustand::Gelesen;
}

std::string VelmaroZustand::Schnappschuss() {
    struct Puffer : Device {
        std::string bytes;
        std::size_t read(char*, std::size_t) override { return 0; }
        void write(const char* b, std::size_t n) override { bytes.append(b, n); }
    } puffer;
    writeTextString(puffer, FtpConfigText());
    DatenSpeichern(puffer);
    StyleConfigSpeichern(puffer);
    return puffer.bytes;
}

std::optional<Hinweis> VelmaroZustand::DateiSchreiben(const char* name) {
    const std::string n = name;
    // The FTP file holds the password: readable by its owner only.
    SaveFile datei(datenPfad(name), n == "ftpconfig.bit" ? 0600 : 0644);
    std::string grund;
    if (datei.open()) {
        try {
            if (n == "ftpconfig.bit")
                writeTextString(datei, FtpConfigText());
            else if (n == "daten.bit")
                DatenSpeichern(datei);
            else
                StyleConfigSpeichern(datei);
            if (datei.commit())
                return std::nullopt;
            grund = datei.errorText();
        } catch (const std::exception& e) {
            grund = e.what();
        }
    } else {
        grund = datei.errorText();
    }
    return Hinweis{"Die Datei data/" + n + " konnte nicht gespeichert werden (" + grund +
                       ").\nDie bisherige Datei ist unverändert; Ihre Eingaben sind noch im Programm."
                       "\nBitte prüfen Sie den Ordner data und beenden Sie dann erneut.",
                   "Fehler"};
}

std::vector<Hinweis> VelmaroZustand::DateienSchreiben() {
    std::vector<Hinweis> fehler;
    std::error_code ec;
    fs::create_directories(m_ordner / "data", ec);
    for (const char* name : {"ftpconfig.bit", "daten.bit", "styleconfig.bit"})
        if (auto f = DateiSchreiben(name))
            fehler.push_back(std::move(*f));
    return fehler;
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
