#include "platform/sperre.h"

#include "platform/file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace velmaro {

namespace {
struct flock ganzeDatei(short art) {
    struct flock fl {};
    fl.l_type = art;
    fl.l_whence = SEEK_SET;
    return fl;
}
} // namespace

std::string BelegtText(const std::filesystem::path& ordner, long haelter) {
    std::error_code ec;
    const auto absolut = std::filesystem::absolute(ordner, ec).lexically_normal();
    std::string text =
        "Der Ordner " + (ec ? ordner : absolut).string() + " wird schon von einem anderen velmaro bearbeitet";
    if (haelter > 0)
        text += " (Prozess " + std::to_string(haelter) + ")";
    return text + ".";
}

bool OrdnerBeschreibbar(const std::filesystem::path& ordner, std::string& grund) {
    // Trying is the only test that also holds for root and for read-only mounts.
    int fd = ::open(ordner.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        std::string muster = (ordner / ".velmaro-probe.XXXXXX").string();
        fd = ::mkstemp(muster.data());
        if (fd >= 0)
            ::unlink(muster.c_str());
    }
    if (fd < 0) {
        grund = FehlerUrsache(errno);
        return false;
    }
    ::close(fd);
    return true;
}

Ordnersperre::~Ordnersperre() {
    Freigeben();
}

void Ordnersperre::Freigeben() {
    // Closing the descriptor ends the lock; the file stays for the next start.
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

Ordnersperre::Ergebnis Ordnersperre::Nehmen(const std::filesystem::path& datei,
                                            std::chrono::milliseconds warten) {
    Freigeben();
    // POSIX record locks rather than flock(): the system can name the holder.
    m_fd = ::open(datei.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (m_fd < 0) {
        m_fehler = FehlerUrsache(errno);
        return NichtMoeglich;
    }
    const auto ende = std::chrono::steady_clock::now() + warten;
    for (;;) {
        struct flock fl = ganzeDatei(F_WRLCK);
        if (::fcntl(m_fd, F_SETLK, &fl) == 0)
            break;
        if (errno != EACCES && errno != EAGAIN) {
            m_fehler = FehlerUrsache(errno);
            Freigeben();
            return NichtMoeglich;
        }
        struct flock wer = ganzeDatei(F_WRLCK);
        m_haelter = ::fcntl(m_fd, F_GETLK, &wer) == 0 && wer.l_type != F_UNLCK ? wer.l_pid : 0;
        if (std::chrono::steady_clock::now() >= ende) {
            Freigeben();
            return Belegt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // For a person looking into data/; the lock itself is what counts.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(m_fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(m_fd, pid.data(), pid.size(), 0);
    }
    return Genommen;
}

} // namespace velmaro
