#pragma once
// The buffered binary encoding of daten.bit and styleconfig.bit: length-prefixed Windows-1252
// texts, 12-byte dates and little-endian 32-bit integers, moved through a 4096-byte buffer.

#include "platform/file.h"
#include "store/datetime.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmaro {

class ArchiveError : public std::runtime_error {
public:
    // EndOfFile: the file ends inside a value, or a length claims more than the file holds.
    // Damaged: a value that cannot be right (a record marker of another text or length).
    enum Kind { EndOfFile = 3, Damaged };
    explicit ArchiveError(Kind kind);
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

class Archive {
public:
    enum Mode { Load, Store };
    static constexpr std::size_t kBufferSize = 4096;

    Archive(Device& device, Mode mode);
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    Archive& operator<<(const std::string& text);
    Archive& operator<<(DateTime dt);
    Archive& operator<<(std::int32_t value);

    Archive& operator>>(std::string& text);
    Archive& operator>>(DateTime& dt);
    Archive& operator>>(std::int32_t& value);
    // A text of at most maxLength characters; a longer one is Damaged without being read.
    Archive& readShort(std::string& text, std::size_t maxLength);

    // Load mode: true when every byte of the file has been read.
    bool amEnde();

    // Store mode: writes what is left in the buffer. Raises FileError.
    void close();

private:
    void put(const void* data, std::size_t n);
    void flush();
    // Reads up to n bytes; returns how many the file still had.
    std::size_t get(void* data, std::size_t n);
    void getExact(void* data, std::size_t n);
    std::uint8_t getU8();
    std::uint16_t getU16();
    std::uint32_t getU32();
    std::string getChars(std::uint64_t count, bool wide);
    // The length prefix of a text: the character count and whether the characters are UTF-16.
    std::uint64_t getLength(bool& wide);

    Device& m_device;
    Mode m_mode;
    char m_buffer[kBufferSize];
    std::size_t m_begin = 0; // load: next unread byte
    std::size_t m_end = 0;   // load: bytes in the buffer; store: bytes waiting
};

} // namespace velmaro
