#include "ftpserver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmaro::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

// The interpreter must find Debian's modules, whatever python the developer's shell prefers.
std::vector<std::string> umgebung() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "PYTHON", 6) != 0)
            env.emplace_back(*e);
    return env;
}

std::vector<char*> zeiger(std::vector<std::string>& v) {
    std::vector<char*> p;
    for (auto& s : v)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// The first line the server prints: its port. Empty when it ends or stays silent.
std::string ersteZeile(int fd) {
    std::string zeile;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20000) <= 0)
            return {};
        char c;
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0)
            return {};
        if (c == '\n')
            return zeile;
        zeile += c;
    }
}

} // namespace

FtpServer::FtpServer(FtpServerOptionen optionen) : m_optionen(std::move(optionen)) {
    std::filesystem::create_directories(wurzel());
    const std::string log = (m_ordner / "befehle.log").string();
    writeFile(log, "");

    std::vector<std::string> args = {
        kPython,      std::string(VELMARO_SOURCE_DIR) + "/tests/support/ftpserver.py",
        "--root",     wurzel().string(),
        "--user",     m_optionen.benutzer,
        "--password", m_optionen.passwort,
        "--log",      log};
    if (m_optionen.ohneMkd)
        args.push_back("--no-mkd");
    for (const auto& name : m_optionen.abgelehnt) {
        args.push_back("--refuse");
        args.push_back(name);
    }

    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_adddup2(&aktionen, rohr[1], STDOUT_FILENO);
    auto env = umgebung();
    auto argv = zeiger(args);
    auto envp = zeiger(env);
    const int rc = posix_spawn(&m_pid, kPython, &aktionen, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&aktionen);
    close(rohr[1]);
    if (rc != 0) {
        close(rohr[0]);
        m_pid = -1;
        throw std::runtime_error(std::string("cannot start ") + kPython + ": " + std::strerror(rc));
    }
    const std::string zeile = ersteZeile(rohr[0]);
    close(rohr[0]);
    m_port = zeile.empty() ? 0 : std::stoi(zeile);
    if (m_port <= 0) {
        anhalten();
        throw std::runtime_error("the FTP test server did not start (is python3-pyftpdlib installed?)");
    }
}

FtpServer::~FtpServer() {
    anhalten();
}

void FtpServer::anhalten() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGKILL);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

std::string FtpServer::adresse() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

std::vector<std::string> FtpServer::befehle() const {
    std::vector<std::string> zeilen;
    std::ifstream in(m_ordner / "befehle.log");
    for (std::string z; std::getline(in, z);)
        zeilen.push_back(z);
    return zeilen;
}

int freierPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        throw std::runtime_error("no free port");
    close(s);
    return ntohs(a.sin_port);
}

} // namespace velmaro::test
