#pragma once
// The servers whose certificate or host key the user trusts, kept in data/vertrauen.bit: a text
// file, one server a line, "<protocol> <host> <port> <fingerprint>" (ftps or sftp; the host in
// lower case; "AB:CD:…" for a certificate, "SHA256:…" for a host key). Lines starting with '#' and
// lines that do not fit are passed over. Written atomically, readable by the owner only.

#include "platform/serveradresse.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmaro {

struct VertrauensEintrag {
    ServerAdresse server;
    std::string fingerabdruck;

    bool operator==(const VertrauensEintrag&) const = default;
};

class Vertrauen {
public:
    // A missing file is an empty list; false only when it exists but cannot be read.
    bool Laden(const std::filesystem::path& datei);
    // Replaces the file atomically, readable by its owner only; false with fehlerText() on failure.
    bool Speichern(const std::filesystem::path& datei);

    // The fingerprint recorded for the server, if any.
    std::optional<std::string> Fingerabdruck(const ServerAdresse& server) const;
    // Records it, replacing one recorded before.
    void Setzen(const ServerAdresse& server, const std::string& fingerabdruck);

    const std::vector<VertrauensEintrag>& eintraege() const { return m_eintraege; }
    const std::string& fehlerText() const { return m_fehler; }
    // After a failed Laden: the message that names the list and the reason (UTF-8).
    std::string LesefehlerText() const;

private:
    std::vector<VertrauensEintrag> m_eintraege;
    std::string m_fehler;
};

} // namespace velmaro
