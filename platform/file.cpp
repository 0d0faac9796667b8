#include "platform/file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmaro {

namespace {
std::string errnoText(int err) {
    return std::strerror(err);
}

bool writeAll(int fd, const char* buf, std::size_t n, int& err) {
    while (n > 0) {
        ssize_t w = ::write(fd, buf, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        buf += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

std::size_t readSome(int fd, char* buf, std::size_t n, const std::filesystem::path& path) {
    std::size_t got = 0;
    while (got < n) {
        ssize_t r = ::read(fd, buf + got, n - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            throw FileError("Lesefehler in " + path.string() + ": " + errnoText(errno), errno);
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}
} // namespace

FileError::FileError(const std::string& what, int err) : std::runtime_error(what), m_errno(err) {
}

BinaryFile::~BinaryFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool BinaryFile::openRead(const std::filesystem::path& path) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_path = path;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    struct stat st {};
    // A folder opens for reading on Linux but is no file.
    if (::fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

bool BinaryFile::createOrTruncate(const std::filesystem::path& path) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_path = path;
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

std::uint64_t BinaryFile::length() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

std::size_t BinaryFile::read(char* buf, std::size_t n) {
    return readSome(m_fd, buf, n, m_path);
}

void BinaryFile::write(const char* buf, std::size_t n) {
    int err = 0;
    if (!writeAll(m_fd, buf, n, err))
        throw FileError("Schreibfehler in " + m_path.string() + ": " + errnoText(err), err);
}

void BinaryFile::close() {
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throw FileError("Schreibfehler in " + m_path.string() + ": " + errnoText(errno), errno);
}

bool TextFile::openExisting(const std::filesystem::path& path) {
    m_pos = 0;
    return readWholeFile(path, m_data);
}

bool TextFile::readLine(std::string& line) {
    line.clear();
    if (m_pos >= m_data.size())
        return false;
    std::size_t end = m_data.find('\n', m_pos);
    std::size_t next = end == std::string::npos ? m_data.size() : end + 1;
    if (end == std::string::npos)
        end = m_data.size();
    else if (end > m_pos && m_data[end - 1] == '\r')
        --end;
    line.assign(m_data, m_pos, end - m_pos);
    m_pos = next;
    return true;
}

void writeTextString(Device& dev, const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    dev.write(out.data(), out.size());
}

SaveFile::SaveFile(std::filesystem::path target, mode_t mode) : m_target(std::move(target)), m_mode(mode) {
}

SaveFile::~SaveFile() {
    discard();
}

void SaveFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_unnamed = false;
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

bool SaveFile::open() {
    discard();
    // An unnamed file leaves nothing behind in the folder when the program dies before commit().
    // It gets its name through /proc at commit time, so without /proc a named one is used.
    if (::access("/proc/self/fd", X_OK) == 0) {
        const std::filesystem::path dir = m_target.parent_path();
        m_fd = ::open(dir.empty() ? "." : dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, m_mode);
        if (m_fd >= 0) {
            m_unnamed = true;
            return true;
        }
    }
    std::string pattern = m_target.string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errnoText(errno);
        return false;
    }
    m_temp = name.data();
    // mkstemp makes the file 0600; widen it to the wanted mode as the umask allows.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, m_mode & ~mask);
    return true;
}

bool SaveFile::nameUnnamed() {
    static const char zeichen[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device zufall;
    const std::string proc = "/proc/self/fd/" + std::to_string(m_fd);
    for (int versuch = 0; versuch < 100; ++versuch) {
        std::string name = m_target.string() + ".";
        for (int i = 0; i < 6; ++i)
            name += zeichen[zufall() % (sizeof zeichen - 1)];
        if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temp = name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    m_error = errnoText(errno);
    return false;
}

std::size_t SaveFile::read(char*, std::size_t) {
    throw FileError("SaveFile ist nur zum Schreiben", EBADF);
}

void SaveFile::write(const char* buf, std::size_t n) {
    int err = 0;
    if (m_fd < 0 || !writeAll(m_fd, buf, n, err))
        throw FileError("Schreibfehler in " + m_target.string() + ": " + errnoText(err ? err : EBADF),
                        err ? err : EBADF);
}

bool SaveFile::commit() {
    if (m_fd < 0) {
        m_error = errnoText(EBADF);
        return false;
    }
    if (::fdatasync(m_fd) != 0) {
        m_error = errnoText(errno);
        discard();
        return false;
    }
    if (m_unnamed && !nameUnnamed()) {
        discard();
        return false;
    }
    if (::close(m_fd) != 0) {
        m_error = errnoText(errno);
        m_fd = -1;
        discard();
        return false;
    }
    m_fd = -1;
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        m_error = errnoText(errno);
        discard();
        return false;
    }
    m_temp.clear();
    // The rename itself must reach the disk too.
    std::filesystem::path dir = m_target.parent_path();
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool readWholeFile(const std::filesystem::path& path, std::string& out) {
    out.clear();
    BinaryFile f;
    if (!f.openRead(path))
        return false;
    try {
        char buf[65536];
        for (;;) {
            std::size_t n = f.read(buf, sizeof buf);
            out.append(buf, n);
            if (n < sizeof buf)
                break;
        }
    } catch (const FileError&) {
        return false;
    }
    return true;
}

} // namespace velmaro
