#pragma once
// File services of the core: a byte device interface, plain binary files, text files read line by
// line, and the one atomic saving helper through which every settings and data file is written.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velmaro {

// Raised when reading or writing an open file fails (full disk, I/O error).
class FileError : public std::runtime_error {
public:
    FileError(const std::string& what, int err);
    int errorNumber() const { return m_errno; }

private:
    int m_errno;
};

// What the archive and the generators read from or write to. Tests hand in a memory buffer or a
// device that fails after some bytes.
class Device {
public:
    virtual ~Device() = default;
    // Reads up to n bytes; fewer only at the end of the data. Raises FileError on failure.
    virtual std::size_t read(char* buf, std::size_t n) = 0;
    // Writes all n bytes or raises FileError.
    virtual void write(const char* buf, std::size_t n) = 0;
    // Bytes still to read, when the device knows it: a length that claims more is damage at once,
    // before anything is allocated for it.
    virtual std::optional<std::uint64_t> remaining() const { return std::nullopt; }
};

// Bytes in memory: what is written is appended, what is read comes from the start.
class SpeicherDevice : public Device {
public:
    SpeicherDevice() = default;
    explicit SpeicherDevice(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::size_t read(char* buf, std::size_t n) override;
    void write(const char* buf, std::size_t n) override { m_bytes.append(buf, n); }
    std::optional<std::uint64_t> remaining() const override { return m_bytes.size() - m_pos; }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
};

// A system error in German words for the common causes (no space, no permission, read-only, not a
// folder, not found); the system's own text for the rest.
std::string FehlerUrsache(int err);
// Why a file could not be opened or read, in German words for messages; empty for a missing file.
std::string leseGrund(int err);
// Stands for "exists, but is no regular file" (a folder, a FIFO, a device).
inline constexpr int kKeineDatei = -1;

class BinaryFile : public Device {
public:
    BinaryFile() = default;
    ~BinaryFile() override;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Regular files only, opened without blocking (a FIFO at the name would otherwise hang the
    // program). On failure, error() says why: ENOENT or ENOTDIR for a missing file.
    bool openRead(const std::filesystem::path& path);
    bool createOrTruncate(const std::filesystem::path& path);
    bool isOpen() const { return m_fd >= 0; }
    int error() const { return m_error; }
    bool missing() const { return m_error == ENOENT || m_error == ENOTDIR; }
    std::uint64_t length() const;
    std::optional<std::uint64_t> remaining() const override;
    std::size_t read(char* buf, std::size_t n) override;
    void write(const char* buf, std::size_t n) override;
    // Raises FileError when the kernel reports a late write error.
    void close();

private:
    int m_fd = -1;
    int m_error = 0;
    // Size at opening and bytes read since, so the archive can ask what remains without a call.
    std::uint64_t m_laenge = 0;
    std::uint64_t m_gelesen = 0;
    std::filesystem::path m_path;
};

// Text file opened for reading; lines end at LF, a CR directly before it is dropped.
class TextFile {
public:
    // False when the file is missing, cannot be read or is larger than maxBytes; error() says
    // which (EFBIG for too large).
    bool openExisting(const std::filesystem::path& path, std::uint64_t maxBytes = UINT64_MAX);
    int error() const { return m_error; }
    bool missing() const { return m_error == ENOENT || m_error == ENOTDIR; }
    // Lines from bytes already in memory.
    void setBytes(std::string bytes) {
        m_data = std::move(bytes);
        m_pos = 0;
        m_error = 0;
    }
    // False at the end of the file (the line is then empty).
    bool readLine(std::string& line);

private:
    std::string m_data;
    std::size_t m_pos = 0;
    int m_error = 0;
};

// Writes a string with every LF turned into CR LF.
void writeTextString(Device& dev, const std::string& text);

// Replaces a file atomically: the bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the target by commit(). Until then, and after any failure,
// the old file stays whole. Without commit() the destructor removes the temporary file; where the
// system allows it, the temporary file has no name until commit(), so not even a crash leaves it.
class SaveFile : public Device {
public:
    explicit SaveFile(std::filesystem::path target, mode_t mode = 0644);
    ~SaveFile() override;
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // Creates the temporary file; false (with errorText()) when the folder is not writable.
    bool open();
    std::size_t read(char*, std::size_t) override;
    void write(const char* buf, std::size_t n) override;
    // Flushes, syncs and renames; false with errorText() on any failure (the old file stays).
    bool commit();
    const std::string& errorText() const { return m_error; }

private:
    void discard();
    bool nameUnnamed();

    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    mode_t m_mode;
    int m_fd = -1;
    bool m_unnamed = false;
    std::string m_error;
};

// Replaces path atomically with bytes through a SaveFile; false with error (German) on failure.
bool replaceFile(const std::filesystem::path& path, std::string_view bytes, mode_t mode, std::string& error);

// Reads a whole file; false when it cannot be opened or read, or is larger than maxBytes. err, when
// given, receives the reason as BinaryFile::error() gives it (EFBIG for too large).
bool readWholeFile(const std::filesystem::path& path, std::string& out, std::uint64_t maxBytes = UINT64_MAX,
                   int* err = nullptr);

// Removes what a SaveFile left behind when the program died between naming its temporary file and
// the rename: regular files in folder named "<base>.XXXXXX" (six letters or digits) where
// ownName(base) is true. Returns how many were removed.
int removeLeftovers(const std::filesystem::path& folder, bool (*ownName)(const std::string& base));

} // namespace velmaro
