#pragma once
// The web pages for real: PHP's built-in server serving the site's pages, and headless Chromium
// loading them.

#include "tempdir.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velmaro::test {

// What a browser shows of one page: the text, every link resolved to an absolute address, every
// picture's size, and "<colour> <size>" of the first headline ("" without one).
struct Seite {
    std::string text;
    std::vector<std::string> links;
    std::vector<std::string> bilder; // "<width>x<height>" as loaded, "0x0" when not
    std::string ueberschriftStil;
};

class Chromium {
public:
    // Loads the pages side by side, each in a frame of a page beside them in the same origin
    // (the folder `neben`, which the server or the file system shows at `nebenUrl`).
    std::vector<Seite> laden(const std::vector<std::string>& urls, const std::filesystem::path& neben,
                             const std::string& nebenUrl);

private:
    TempDir m_profil;
};

// php -S on 127.0.0.1 at a free port serving wurzel; stopped when the object goes.
class PhpServer {
public:
    explicit PhpServer(const std::filesystem::path& wurzel);
    ~PhpServer();
    std::string url(const std::string& pfad) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/" + pfad;
    }

private:
    TempDir m_log;
    std::FILE* m_aus = nullptr;
    int m_pid = -1;
    int m_port = 0;
};

} // namespace velmaro::test
