#include "platform/file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmaro {

std::size_t SpeicherDevice::read(char* buf, std::size_t n) {
    const std::size_t k = std::min(n, m_bytes.size() - m_pos);
    std::memcpy(buf, m_bytes.data() + m_pos, k);
    m_pos += k;
    return k;
}

namespace {
std::string errnoText(int err) {
    return FehlerUrsache(err);
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
    m_error = 0;
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = kKeineDatei;
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_laenge = static_cast<std::uint64_t>(st.st_size);
    m_gelesen = 0;
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

std::optional<std::uint64_t> BinaryFile::remaining() const {
    if (m_fd < 0 || m_gelesen > m_laenge)
        return std::nullopt;
    return m_laenge - m_gelesen;
}

std::size_t BinaryFile::read(char* buf, std::size_t n) {
    const std::size_t got = readSome(m_fd, buf, n, m_path);
    m_gelesen += got;
    return got;
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

bool TextFile::openExisting(const std::filesystem::path& path, std::uint64_t maxBytes) {
    m_pos = 0;
    return readWholeFile(path, m_data, maxBytes, &m_error);
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
    // mkstemp makes the file 0600; widen it to the wanted mode as the umask allows. The umask is
    // read once: reading it means setting it, which no two threads may do at once.
    static const mode_t maske = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    if ((m_mode & ~maske) != 0600)
        ::fchmod(m_fd, m_mode & ~maske);
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

bool readWholeFile(const std::filesystem::path& path, std::string& out, std::uint64_t maxBytes, int* err) {
    out.clear();
    BinaryFile f;
    int dummy = 0;
    int& fehler = err ? *err : dummy;
    fehler = 0;
    if (!f.openRead(path)) {
        fehler = f.error();
        return false;
    }
    if (f.length() > maxBytes) {
        fehler = EFBIG;
        return false;
    }
    try {
        char buf[65536];
        for (;;) {
            std::size_t n = f.read(buf, sizeof buf);
            out.append(buf, n);
            if (n < sizeof buf)
                break;
        }
    } catch (const FileError& e) {
        fehler = e.errorNumber();
        return false;
    }
    return true;
}

std::string FehlerUrsache(int err) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return "kein Speicherplatz mehr frei";
    case EACCES:
    case EPERM:
        return "keine Berechtigung";
    case EROFS:
        return "der Datenträger ist schreibgeschützt";
    case ENOTDIR:
        return "ein Teil des Pfads ist kein Ordner";
    case EISDIR:
        return "ein Ordner statt einer Datei";
    case ENOENT:
        return "nicht gefunden";
    default:
        return std::strerror(err);
    }
}

std::string leseGrund(int err) {
    switch (err) {
    case 0:
    case ENOENT:
    case ENOTDIR:
        return {};
    case kKeineDatei:
        return "keine gewöhnliche Datei, sondern ein Ordner, eine Pipe oder ein Gerät";
    case EACCES:
    case EPERM:
        return "keine Berechtigung zum Lesen";
    case EISDIR:
        return "ein Ordner statt einer Datei";
    case EFBIG:
        return "zu groß für diese Datei";
    case ELOOP:
        return "ein symbolischer Verweis, der auf sich selbst zeigt";
    case EIO:
        return "Lesefehler des Datenträgers";
    default:
        return errnoText(err);
    }
}

int removeLeftovers(const std::filesystem::path& folder, bool (*ownName)(const std::string& base)) {
    int entfernt = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), ende; !ec && it != ende; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 8 || name[name.size() - 7] != '.')
            continue;
        bool zufall = true;
        for (std::size_t i = name.size() - 6; i < name.size(); ++i)
            zufall = zufall && std::isalnum(static_cast<unsigned char>(name[i]));
        std::error_code ec2;
        if (zufall && ownName(name.substr(0, name.size() - 7)) && it->is_regular_file(ec2) &&
            !it->is_symlink(ec2) && std::filesystem::remove(it->path(), ec2))
            ++entfernt;
    }
    return entfernt;
}

bool replaceFile(const std::filesystem::path& path, std::string_view bytes, mode_t mode, std::string& error) {
    SaveFile datei(path, mode);
    if (!datei.open()) {
        error = datei.errorText();
        return false;
    }
    try {
        datei.write(bytes.data(), bytes.size());
    } catch (const FileError& f) {
        error = FehlerUrsache(f.errorNumber());
        return false;
    }
    if (!datei.commit()) {
        error = datei.errorText();
        return false;
    }
    return true;
}

} // namespace velmaro
