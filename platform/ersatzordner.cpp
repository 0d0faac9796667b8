#include "platform/ersatzordner.h"

#include "platform/file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace velmaro {

namespace fs = std::filesystem;

namespace {

void schliessenFalls(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The folder under this name in elternFd, made when missing; anything else at the name is removed
// first, so that no link in the spare is ever followed.
int ordnerOeffnen(int elternFd, const char* name) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(elternFd, name, kFlags);
    if (fd >= 0)
        return fd;
    if (errno != ENOENT)
        ::unlinkat(elternFd, name, 0);
    if (::mkdirat(elternFd, name, 0755) != 0 && errno != EEXIST)
        return -1;
    return ::openat(elternFd, name, kFlags);
}

bool zielVorhanden(int elternFd, const std::string& name) {
    struct stat st {};
    return ::fstatat(elternFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

ErsatzDatei::ErsatzDatei(ErsatzDatei&& andere) noexcept
    : m_ordner(andere.m_ordner)
    , m_fd(std::exchange(andere.m_fd, -1))
    , m_name(std::move(andere.m_name)) {
}

ErsatzDatei& ErsatzDatei::operator=(ErsatzDatei&& andere) noexcept {
    schliessenFalls(m_fd);
    m_ordner = andere.m_ordner;
    m_fd = std::exchange(andere.m_fd, -1);
    m_name = std::move(andere.m_name);
    return *this;
}

ErsatzDatei::~ErsatzDatei() {
    schliessenFalls(m_fd);
}

bool ErsatzDatei::schreiben(std::string_view bytes) {
    if (m_fd < 0 || !m_ordner->m_fehlerText.empty())
        return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_ordner->fehler(m_name, errno);
            schliessenFalls(m_fd);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ErsatzDatei::schliessen() {
    if (m_fd < 0)
        return false;
    if (::close(std::exchange(m_fd, -1)) != 0) {
        m_ordner->fehler(m_name, errno);
        return false;
    }
    return m_ordner->m_fehlerText.empty();
}

ErsatzOrdner::ErsatzOrdner(fs::path ordner, Verweis verweis) : m_ordner(std::move(ordner)) {
    vorbereiten(verweis);
}

ErsatzOrdner::~ErsatzOrdner() {
    for (auto& [name, fd] : m_unterordner)
        schliessenFalls(fd);
    schliessenFalls(m_ersatzFd);
    schliessenFalls(m_elternFd);
}

void ErsatzOrdner::fehler(const std::string& name, int err) {
    if (m_fehlerText.empty())
        m_fehlerText = (err == ELOOP ? "ein symbolischer Verweis" : FehlerUrsache(err)) + ", bei " + name;
}

void ErsatzOrdner::vorbereiten(Verweis verweis) {
    const std::string anzeige = m_ordner.filename().string();
    struct stat st {};
    if (::lstat(m_ordner.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (verweis == Ablehnen) {
            fehler(anzeige, ELOOP);
            return;
        }
        // The folder the link names, also when it is missing for the moment.
        std::error_code ec;
        const fs::path verweisZiel = fs::read_symlink(m_ordner, ec);
        m_ziel = fs::weakly_canonical(m_ordner.parent_path() / verweisZiel, ec);
    } else {
        std::error_code ec;
        m_ziel = fs::absolute(m_ordner, ec).lexically_normal();
        if (m_ziel.filename().empty())
            m_ziel = m_ziel.parent_path();
    }
    const std::string name = m_ziel.filename().string();
    if (name.empty() || name == "..") {
        fehler(anzeige, EINVAL);
        return;
    }
    m_ersatzName = "." + name + ".ersatz";
    const std::string zwischen = "." + name + ".alt";
    m_elternFd = ::open(m_ziel.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_elternFd < 0) {
        fehler(anzeige, errno);
        return;
    }
    // What a crash between the two renames of a file system without exchange left.
    if (zielVorhanden(m_elternFd, zwischen)) {
        if (!zielVorhanden(m_elternFd, name))
            ::renameat(m_elternFd, zwischen.c_str(), m_elternFd, name.c_str());
        else if (!zielVorhanden(m_elternFd, m_ersatzName))
            ::renameat(m_elternFd, zwischen.c_str(), m_elternFd, m_ersatzName.c_str());
        else {
            std::error_code ec;
            fs::remove_all(m_ziel.parent_path() / zwischen, ec);
        }
    }
    if (::fstatat(m_elternFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) {
            fehler(anzeige, errno);
            return;
        }
        m_zielFehlt = true;
    } else if (!S_ISDIR(st.st_mode)) {
        fehler(anzeige, ENOTDIR);
        return;
    }
    m_ersatzFd = ordnerOeffnen(m_elternFd, m_ersatzName.c_str());
    if (m_ersatzFd < 0) {
        fehler(anzeige, errno);
        return;
    }
    // Device and inode tell a folder made here from any other that is put at the name.
    struct stat ersatzSt {};
    ::fstat(m_ersatzFd, &ersatzSt);
    const auto kennung = [](const struct stat& s) {
        return std::to_string(s.st_dev) + " " + std::to_string(s.st_ino) + "\n";
    };
    m_kennungen = kennung(ersatzSt) + (m_zielFehlt ? "" : kennung(st));
    m_markeName = "." + name + ".velmaro";
    std::string marke;
    readWholeFile(m_ziel.parent_path() / m_markeName, marke, 4096);
    m_eigen = m_zielFehlt || ("\n" + marke).find("\n" + kennung(st)) != std::string::npos;
}

int ErsatzOrdner::unterordner(const std::string& pfad) {
    for (const auto& [name, fd] : m_unterordner)
        if (name == pfad)
            return fd;
    const std::size_t strich = pfad.rfind('/');
    const int eltern = strich == std::string::npos ? m_ersatzFd : unterordner(pfad.substr(0, strich));
    if (eltern < 0)
        return -1;
    const int fd = ordnerOeffnen(eltern, pfad.c_str() + (strich == std::string::npos ? 0 : strich + 1));
    if (fd < 0) {
        fehler(pfad, errno);
        return -1;
    }
    m_unterordner.emplace_back(pfad, fd);
    return fd;
}

int ErsatzOrdner::ordnerFuer(const std::string& name, const char*& kurz) {
    // Names come from article texts too: none may leave the folder.
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("..") != std::string::npos) {
        fehler(name, EINVAL);
        return -1;
    }
    const std::size_t strich = name.rfind('/');
    kurz = name.c_str() + (strich == std::string::npos ? 0 : strich + 1);
    return strich == std::string::npos ? m_ersatzFd : unterordner(name.substr(0, strich));
}

void ErsatzOrdner::entfernen(int ordnerFd, const char* kurz, const std::string& name) {
    if (::unlinkat(ordnerFd, kurz, 0) != 0 && errno == EISDIR) {
        std::error_code ec;
        fs::remove_all(ersatz() / name, ec);
    }
}

ErsatzDatei ErsatzOrdner::anlegen(const std::string& name) {
    ErsatzDatei datei;
    m_namen.push_back(name);
    const char* kurz = nullptr;
    const int ordnerFd = m_fehlerText.empty() ? ordnerFuer(name, kurz) : -1;
    if (ordnerFd < 0)
        return datei;
    // The spare's files are written over in place, emptied only once known to be no one else's;
    // O_NONBLOCK keeps a FIFO from blocking the open.
    int fd = ::openat(ordnerFd, kurz, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
        (st.st_size > 0 && ::ftruncate(fd, 0) != 0)) {
        // A link, a folder, a FIFO, a file shared with another folder or one not writable: it goes.
        schliessenFalls(fd);
        entfernen(ordnerFd, kurz, name);
        fd = ::openat(ordnerFd, kurz, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            fehler(name, errno);
            return datei;
        }
    }
    m_geschrieben.insert(name);
    datei.m_ordner = this;
    datei.m_fd = fd;
    datei.m_name = name;
    return datei;
}

bool ErsatzOrdner::uebernehmen(const std::string& name) {
    struct stat st {};
    const fs::path quelle = m_ziel / name;
    const char* kurz = nullptr;
    if (!m_fehlerText.empty() || m_zielFehlt || ::lstat(quelle.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int ordnerFd = ordnerFuer(name, kurz);
    if (ordnerFd < 0)
        return false;
    // Shared with the previous content: a later run that writes this name makes a file of its own.
    entfernen(ordnerFd, kurz, name);
    if (::linkat(AT_FDCWD, quelle.c_str(), ordnerFd, kurz, 0) != 0)
        return false;
    m_namen.push_back(name);
    m_geschrieben.insert(name);
    return true;
}

bool ErsatzOrdner::schreiben(const std::string& name, std::string_view bytes) {
    ErsatzDatei datei = anlegen(name);
    return datei.schreiben(bytes) && datei.schliessen();
}

bool ErsatzOrdner::ausraeumen(const fs::path& ordner, const std::string& vorsatz) {
    std::vector<std::pair<std::string, bool>> eintraege;
    std::error_code ec;
    for (fs::directory_iterator it(ordner, ec), ende; !ec && it != ende; it.increment(ec)) {
        std::error_code ec2;
        eintraege.emplace_back(vorsatz + it->path().filename().string(),
                               it->is_directory(ec2) && !it->is_symlink(ec2));
    }
    if (ec) {
        fehler(vorsatz.empty() ? m_ordner.filename().string() : vorsatz, ec.value());
        return false;
    }
    for (const auto& [name, istOrdner] : eintraege) {
        if (m_geschrieben.count(name))
            continue;
        bool benutzt = false;
        for (const auto& u : m_unterordner)
            benutzt = benutzt || u.first == name;
        if (istOrdner && benutzt) {
            if (!ausraeumen(ordner / fs::path(name).filename(), name + "/"))
                return false;
        } else if (fs::remove_all(ordner / fs::path(name).filename(), ec); ec) {
            fehler(name, ec.value());
            return false;
        }
    }
    return true;
}

bool ErsatzOrdner::fremd() {
    std::error_code ec;
    for (fs::directory_iterator it(m_ziel, ec), ende; !ec && it != ende; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code ec2;
        if (!it->is_directory(ec2) || it->is_symlink(ec2) ||
            std::any_of(m_unterordner.begin(), m_unterordner.end(),
                        [&](const auto& u) { return u.first == name; }))
            continue;
        m_fehlerText =
            "darin ein Ordner, der nicht zur Website gehört, bei " + (m_ordner.filename() / name).string();
        return true;
    }
    return false;
}

bool ErsatzOrdner::tauschen() {
    if (!m_fehlerText.empty() || (!m_eigen && fremd()) || !ausraeumen(ersatz(), {}))
        return false;
    // Noted before the exchange, so that after a crash both folders count as made here.
    SaveFile marke(m_ziel.parent_path() / m_markeName);
    try {
        if (marke.open()) {
            marke.write(m_kennungen.data(), m_kennungen.size());
            marke.commit();
        }
    } catch (const FileError&) {
        // Without the note the next run only checks the folder once more.
    }
    const std::string name = m_ziel.filename().string();
    const char* ziel = name.c_str();
    const char* ersatzName = m_ersatzName.c_str();
    const int e = m_elternFd;
    int r = 0;
    if (m_zielFehlt) {
        r = ::renameat(e, ersatzName, e, ziel);
    } else {
        // The folder keeps the permissions its owner gave it.
        struct stat st {};
        if (::fstatat(e, ziel, &st, AT_SYMLINK_NOFOLLOW) == 0)
            ::fchmod(m_ersatzFd, st.st_mode & 07777);
        r = ::renameat2(e, ersatzName, e, ziel, RENAME_EXCHANGE);
        if (r != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system that cannot exchange: two renames, and the next run mends what a crash
            // between them leaves.
            const std::string zwischen = "." + name + ".alt";
            r = ::renameat(e, ziel, e, zwischen.c_str());
            if (r == 0 && (r = ::renameat(e, ersatzName, e, ziel)) != 0) {
                const int err = errno;
                ::renameat(e, zwischen.c_str(), e, ziel);
                errno = err;
            } else if (r == 0) {
                ::renameat(e, zwischen.c_str(), e, ersatzName);
            }
        }
    }
    if (r != 0) {
        fehler(m_ordner.filename().string(), errno);
        return false;
    }
    return true;
}

} // namespace velmaro
