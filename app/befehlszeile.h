#pragma once
// The command line, read once for the window and the batch mode alike.

#include <QStringList>

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>

namespace velmaro {

struct Aufruf {
    enum class Art { Fenster, Desktop, Erzeugen, Veroeffentlichen, Vorschau, Vertrauen };
    Art art = Art::Fenster;
    // -C DIR, absolute; the current folder when missing.
    std::optional<std::filesystem::path> ordner;
    // --all
    bool alle = false;
    // --trust FINGERPRINT
    std::string fingerabdruck;
};

// Name, version and Qt's German texts for the running application object; again for each one.
void AnwendungEinrichten();

// Reads arguments (the program's name first) through the running application object, so that
// Qt's own texts of the usage come out in German. --help and --version print on out and give
// exit status 0; a wrong command line prints the reason and the usage on err and gives 2.
std::variant<Aufruf, int> BefehlszeileLesen(const QStringList& argumente, std::ostream& out,
                                            std::ostream& err);

} // namespace velmaro
