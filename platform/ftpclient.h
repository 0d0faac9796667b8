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

// What an upload needs of a connection, whichever protocol carries it.
class ServerVerbindung {
public:
    virtual ~ServerVerbindung() = default;
    // Logs in on first use, then makes ordner (below the login folder) the folder files go to,
    // creating it when it does not exist.
    virtual bool OrdnerWechseln(const std::string& ordner) = 0;
    // Puts the local file under name into that folder, binary, replacing a file of that name.
    virtual bool DateiSenden(const std::filesystem::path& lokal, const std::string& name) = 0;
    // The sizes of the files in that folder, by one listing; nothing when the server cannot list.
    virtual std::optional<std::map<std::string, std::uint64_t>> Groessen() = 0;
    // One file's size; nothing when the server does not tell it.
    virtual std::optional<std::uint64_t> Groesse(const std::string& name) = 0;
    // Removes the file name (relative to that folder) from the server.
    virtual bool DateiLoeschen(const std::string& name) = 0;
    virtual void Schliessen() = 0;
    virtual const FtpFehler& letzterFehler() const = 0;
};

// The two listing forms servers give: MLSD facts, and the Unix "ls -l" form of LIST and SFTP.
std::map<std::string, std::uint64_t> MlsdLesen(const std::string& daten);
std::map<std::string, std::uint64_t> ListeLesen(const std::string& daten);

class FtpVerbindung : public ServerVerbindung {
public:
    // adresse is "host", "host:port" or "ftp://host[:port]" (port 21 when none is given). Checks the
    // settings and prepares the connection; nothing is sent yet. Null with fehler set when a value
    // holds control characters or the address cannot be used.
    static std::unique_ptr<FtpVerbindung> Oeffnen(const InternetSitzung& sitzung, const std::string& adresse,
                                                  const std::string& benutzer, const std::string& passwort,
                                                  FtpFehler& fehler, const FtpZeitlimits& limits = {});
    ~FtpVerbindung() override;
    FtpVerbindung(const FtpVerbindung&) = delete;
    FtpVerbindung& operator=(const FtpVerbindung&) = delete;

    // Logs in on first use, then makes ordner (below the login folder) the current remote folder,
    // creating it when it does not exist. On failure the step tells a refused login from a folder
    // that can neither be entered nor created.
    bool OrdnerWechseln(const std::string& ordner) override;
    bool DateiSenden(const std::filesystem::path& lokal, const std::string& name) override;
    // MLSD, else LIST.
    std::optional<std::map<std::string, std::uint64_t>> Groessen() override;
    // By SIZE.
    std::optional<std::uint64_t> Groesse(const std::string& name) override;
    // By DELE.
    bool DateiLoeschen(const std::string& name) override;
    // Says goodbye to the server and closes the connection; also done by the destructor.
    void Schliessen() override;

    const FtpFehler& letzterFehler() const override { return m_fehler; }

private:
    struct Impl;
    explicit FtpVerbindung(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> d;
    FtpFehler m_fehler;
};

} // namespace velmaro
