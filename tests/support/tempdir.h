#pragma once
// A fresh folder below /tmp for one test, removed with everything in it afterwards; whole files
// written and read; a shell command run.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace velmaro::test {

class TempDir {
public:
    TempDir();
    ~TempDir();

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& rel) const { return m_path / rel; }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);
// Name and bytes of files.
using Dateien = std::map<std::string, std::string>;
// Everything in a folder, "?" for anything but a regular file; empty when there is no such folder.
Dateien Ordnerinhalt(const std::filesystem::path& ordner);
// Runs f where no file may grow beyond bytes: a full disk as a writer sees it.
void MitDateiGrenze(std::uint64_t bytes, const std::function<void()>& f);
// The command's exit status (-1 when it did not exit) and all it wrote to stdout.
std::pair<int, std::string> Ausfuehren(const std::string& befehl);

} // namespace velmaro::test
