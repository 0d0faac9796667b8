#pragma once
// The FTP client of the upload, on libcurl. An Internet session carries the agent name; on it one
// FTP connection logs in, enters (or creates) the remote folder and puts files, all over a single
// control connection, in active mode (PORT) and binary.
//
// Strings are Windows-1252 as stored; error texts are UTF-8 and never contain the password.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace velmaro {

// The step of the conversation with the server that failed.
enum class FtpSchritt { Einstellungen, Verbindungsaufbau, Anmeldung, Ordner, Senden };

struct FtpFehler {
    FtpSchritt schritt = FtpSchritt::Einstellungen;
    // Why, in plain German (UTF-8).
    std::string grund;
    // The server's last reply line ("530 Login incorrect."), empty when it sent none.
    std::string antwort;
    // Further transfers would fail the same way: the server is gone, stalled or full.
    bool weitereZwecklos = false;
};

// CR and LF would let a value end an FTP command and append one of its own (libcurl passes user
// name and password through unchecked), so no setting with a control character reaches a server.
bool hatSteuerzeichen(const std::string& s);

// The step's name as the messages show it ("Anmeldung").
std::string SchrittName(FtpSchritt schritt);
// Step, reason and the server's answer on separate lines.
std::string FehlerText(const FtpFehler& fehler);

class InternetSitzung {
public:
    // Null, with fehler set, when the name holds control characters.
    static std::unique_ptr<InternetSitzung> Oeffnen(const std::string& agentName, FtpFehler& fehler);
    const std::string& agentName() const { return m_agentName; }

private:
    explicit InternetSitzung(std::string agentName) : m_agentName(std::move(agentName)) {}
    std::string m_agentName;
};

// A transfer slower than this for the time FtpZeitlimits::stillstand is given up as stalled.
inline constexpr long kStillstandBytesProSekunde = 100;

struct FtpZeitlimits {
    // Connecting, waiting for a reply, waiting for the server's data connection, a stalled transfer.
    std::chrono::seconds verbinden{30};
    std::chrono::seconds antwort{30};
    std::chrono::seconds datenverbindung{30};
    std::chrono::seconds stillstand{30};
};

class FtpVerbindung {
public:
    // adresse is "host", "host:port" or "ftp://host[:port]" (port 21 when none is given). Checks the
    // settings and prepares the connection; nothing is sent yet. Null with fehler set when a value
    // holds control characters or the address cannot be used.
    static std::unique_ptr<FtpVerbindung> Oeffnen(const InternetSitzung& sitzung, const std::string& adresse,
                                                  const std::string& benutzer, const std::string& passwort,
                                                  FtpFehler& fehler, const FtpZeitlimits& limits = {});
    ~FtpVerbindung();
    FtpVerbindung(const FtpVerbindung&) = delete;
    FtpVerbindung& operator=(const FtpVerbindung&) = delete;

    // Logs in on first use, then makes ordner (below the login folder) the current remote folder,
    // creating it when it does not exist. On failure the step tells a refused login from a folder
    // that can neither be entered nor created.
    bool OrdnerWechseln(const std::string& ordner);
    // Puts the local file under name into the current remote folder, binary, replacing a file of
    // that name.
    bool DateiSenden(const std::filesystem::path& lokal, const std::string& name);
    // The sizes of the files in the current remote folder, by one listing (MLSD, else LIST).
    // Nothing when the server can list neither way.
    std::optional<std::map<std::string, std::uint64_t>> Groessen();
    // One remote file's size by SIZE; nothing when the server does not tell it.
    std::optional<std::uint64_t> Groesse(const std::string& name);
    // Says goodbye to the server and closes the connection; also done by the destructor.
    void Schliessen();

    const FtpFehler& letzterFehler() const { return m_fehler; }

private:
    struct Impl;
    explicit FtpVerbindung(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> d;
    FtpFehler m_fehler;
};

} // namespace velmaro
