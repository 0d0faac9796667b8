#include "store/vertrauen.h"

#include "platform/file.h"
#include "store/datendateien.h"

#include <algorithm>
#include <sstream>

namespace velmaro {

namespace {

bool fingerabdruckZeichen(const std::string& f) {
    return !f.empty() && std::all_of(f.begin(), f.end(), [](unsigned char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ':' ||
               c == '+' || c == '/';
    });
}

std::optional<VertrauensEintrag> zeileLesen(const std::string& zeile) {
    std::istringstream in(zeile);
    std::string protokoll, host, port, fingerabdruck, rest;
    if (!(in >> protokoll >> host >> port >> fingerabdruck) || (in >> rest))
        return std::nullopt;
    const auto p = ProtokollAusName(protokoll);
    const auto adresse = AdresseLesen(protokoll + "://" + host + ":" + port);
    if (!p || *p == Protokoll::Ftp || !adresse || !fingerabdruckZeichen(fingerabdruck))
        return std::nullopt;
    // A certificate's fingerprint is hex, which tools print in either case; a host key's base64 is
    // not.
    if (*p == Protokoll::Ftps)
        std::transform(fingerabdruck.begin(), fingerabdruck.end(), fingerabdruck.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; });
    return VertrauensEintrag{adresse->vergleichbar(), fingerabdruck};
}

} // namespace

bool Vertrauen::Laden(const std::filesystem::path& datei) {
    m_eintraege.clear();
    std::error_code ec;
    if (!std::filesystem::exists(datei, ec))
        return !ec;
    TextFile text;
    if (!text.openExisting(datei, DateiArt(Datendatei::Vertrauen).hoechstens)) {
        m_fehler = "Die Datei „" + datei.string() + "“ kann nicht gelesen werden.";
        return false;
    }
    std::string zeile;
    while (text.readLine(zeile))
        if (auto e = zeileLesen(zeile))
            Setzen(e->server, e->fingerabdruck);
    return true;
}

bool Vertrauen::Speichern(const std::filesystem::path& datei) {
    std::string text = "# velmaro: vertraute Server (Protokoll Host Port Fingerabdruck)\n";
    for (const auto& e : m_eintraege)
        text += std::string(ProtokollName(e.server.protokoll)) + " " + e.server.host + " " +
                std::to_string(e.server.port) + " " + e.fingerabdruck + "\n";
    SaveFile f(datei, DateiArt(Datendatei::Vertrauen).modus);
    try {
        if (f.open()) {
            writeTextString(f, text);
            if (f.commit())
                return true;
        }
    } catch (const FileError& e) {
        m_fehler = e.what();
        return false;
    }
    m_fehler = f.errorText();
    return false;
}

std::string Vertrauen::LesefehlerText() const {
    return std::string("Die Liste der vertrauten Server (data/") + DateiName(Datendatei::Vertrauen) +
           ") kann nicht gelesen werden: " + m_fehler;
}

std::optional<std::string> Vertrauen::Fingerabdruck(const ServerAdresse& server) const {
    const ServerAdresse s = server.vergleichbar();
    for (const auto& e : m_eintraege)
        if (e.server == s)
            return e.fingerabdruck;
    return std::nullopt;
}

void Vertrauen::Setzen(const ServerAdresse& server, const std::string& fingerabdruck) {
    const ServerAdresse s = server.vergleichbar();
    for (auto& e : m_eintraege)
        if (e.server == s) {
            e.fingerabdruck = fingerabdruck;
            return;
        }
    m_eintraege.push_back({s, fingerabdruck});
}

} // namespace velmaro
