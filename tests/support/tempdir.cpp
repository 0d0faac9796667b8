#include "tempdir.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/wait.h>

namespace velmaro::test {

TempDir::TempDir() {
    std::string muster = (std::filesystem::temp_directory_path() / "velmaro-test-XXXXXX").string();
    m_path = mkdtemp(muster.data());
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::map<std::string, std::string> Ordnerinhalt(const std::filesystem::path& ordner) {
    std::map<std::string, std::string> m;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(ordner, ec))
        m[e.path().filename().string()] = e.is_regular_file() && !e.is_symlink() ? readFile(e.path()) : "?";
    return m;
}

void MitDateiGrenze(std::uint64_t bytes, const std::function<void()>& f) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit vorher{};
    ::getrlimit(RLIMIT_FSIZE, &vorher);
    const rlimit grenze{bytes, vorher.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &grenze);
    f();
    ::setrlimit(RLIMIT_FSIZE, &vorher);
}

std::pair<int, std::string> Ausfuehren(const std::string& befehl) {
    std::FILE* p = popen(befehl.c_str(), "r");
    std::string aus;
    char puffer[4096];
    for (std::size_t n; (n = std::fread(puffer, 1, sizeof puffer, p)) > 0;)
        aus.append(puffer, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, aus};
}

} // namespace velmaro::test
