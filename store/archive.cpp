#include "store/archive.h"

#include "platform/cp1252.h"

#include <algorithm>
#include <cstring>

namespace velmaro {

ArchiveError::ArchiveError(Kind kind)
    : std::runtime_error(kind == EndOfFile ? "Unerwartetes Dateiende" : "Ungültiger Wert")
    , m_kind(kind) {
}

Archive::Archive(Device& device, Mode mode) : m_device(device), m_mode(mode) {
}

void Archive::put(const void* data, std::size_t n) {
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        std::size_t chunk = std::min(n, kBufferSize - m_end);
        std::memcpy(m_buffer + m_end, p, chunk);
        m_end += chunk;
        p += chunk;
        n -= chunk;
        if (m_end == kBufferSize)
            flush();
    }
}

void Archive::flush() {
    if (m_end > 0)
        m_device.write(m_buffer, m_end);
    m_end = 0;
}

void Archive::close() {
    if (m_mode == Store)
        flush();
}

Archive& Archive::operator<<(const std::string& text) {
    const std::size_t n = text.size();
    unsigned char prefix[7];
    std::size_t len = 0;
    if (n < 0xFF) {
        prefix[len++] = static_cast<unsigned char>(n);
    } else if (n < 0xFFFE) {
        prefix[len++] = 0xFF;
        prefix[len++] = static_cast<unsigned char>(n & 0xFF);
        prefix[len++] = static_cast<unsigned char>(n >> 8);
    } else {
        const auto n32 = static_cast<std::uint32_t>(n);
        prefix[len++] = 0xFF;
        prefix[len++] = 0xFF;
        prefix[len++] = 0xFF;
        for (int i = 0; i < 4; ++i)
            prefix[len++] = static_cast<unsigned char>(n32 >> (8 * i));
    }
    put(prefix, len);
    put(text.data(), n);
    return *this;
}

Archive& Archive::operator<<(DateTime dt) {
    *this << dt.status;
    unsigned char bytes[8];
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof dt.value);
    std::memcpy(&bits, &dt.value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    put(bytes, sizeof bytes);
    return *this;
}

Archive& Archive::operator<<(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(u >> (8 * i));
    put(bytes, sizeof bytes);
    return *this;
}

std::size_t Archive::get(void* data, std::size_t n) {
    char* p = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < n) {
        if (m_begin == m_end) {
            m_begin = 0;
            m_end = m_device.read(m_buffer, kBufferSize);
            if (m_end == 0)
                break;
        }
        std::size_t chunk = std::min(n - done, m_end - m_begin);
        std::memcpy(p + done, m_buffer + m_begin, chunk);
        m_begin += chunk;
        done += chunk;
    }
    return done;
}

bool Archive::amEnde() {
    if (m_begin < m_end)
        return false;
    m_begin = 0;
    m_end = m_device.read(m_buffer, kBufferSize);
    return m_end == 0;
}

void Archive::getExact(void* data, std::size_t n) {
    if (get(data, n) != n)
        throw ArchiveError(ArchiveError::EndOfFile);
}

std::uint8_t Archive::getU8() {
    unsigned char b;
    getExact(&b, 1);
    return b;
}

std::uint16_t Archive::getU16() {
    unsigned char b[2];
    getExact(b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t Archive::getU32() {
    unsigned char b[4];
    getExact(b, 4);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::string Archive::getChars(std::uint64_t count, bool wide) {
    const std::uint64_t total = count * (wide ? 2 : 1);
    if (total > m_end - m_begin) {
        if (const auto rest = m_device.remaining(); rest && total - (m_end - m_begin) > *rest)
            throw ArchiveError(ArchiveError::EndOfFile);
    }
    // Grow with the data actually read, so a damaged length cannot reserve more than the file has.
    // Appending straight from the buffer copies each byte once; loading large files is bound by it.
    constexpr std::size_t kChunk = 1 << 16;
    std::string raw;
    raw.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, total)));
    while (raw.size() < total) {
        if (m_begin == m_end) {
            m_begin = 0;
            m_end = m_device.read(m_buffer, kBufferSize);
            if (m_end == 0)
                throw ArchiveError(ArchiveError::EndOfFile);
        }
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(total - raw.size(), m_end - m_begin));
        raw.append(m_buffer + m_begin, chunk);
        m_begin += chunk;
    }
    if (!wide) {
        // The text ends at the first zero character; the rest was read but is dropped.
        if (const void* null = std::memchr(raw.data(), 0, raw.size()))
            raw.resize(static_cast<std::size_t>(static_cast<const char*>(null) - raw.data()));
        return raw;
    }
    std::u16string units;
    units.reserve(raw.size() / 2);
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        char16_t u = static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                           static_cast<unsigned char>(raw[i + 1]) << 8);
        if (u == 0)
            break;
        units += u;
    }
    return cp1252::fromUtf16(units);
}

std::uint64_t Archive::getLength(bool& wide) {
    wide = false;
    std::uint64_t length = getU8();
    if (length == 0xFF) {
        std::uint32_t w = getU16();
        if (w == 0xFFFE) {
            wide = true;
            length = getU8();
            if (length == 0xFF)
                w = getU16();
        }
        if (length == 0xFF || !wide)
            length = w < 0xFFFF ? w : getU32();
    }
    return length;
}

Archive& Archive::operator>>(std::string& text) {
    bool wide = false;
    const std::uint64_t length = getLength(wide);
    text = getChars(length, wide);
    return *this;
}

Archive& Archive::readShort(std::string& text, std::size_t maxLength) {
    bool wide = false;
    const std::uint64_t length = getLength(wide);
    if (length > maxLength)
        throw ArchiveError(ArchiveError::Damaged);
    text = getChars(length, wide);
    return *this;
}

Archive& Archive::operator>>(DateTime& dt) {
    std::int32_t status;
    *this >> status;
    std::uint64_t bits = getU32();
    bits |= static_cast<std::uint64_t>(getU32()) << 32;
    dt.status = status;
    std::memcpy(&dt.value, &bits, sizeof bits);
    return *this;
}

Archive& Archive::operator>>(std::int32_t& value) {
    value = static_cast<std::int32_t>(getU32());
    return *this;
}

} // namespace velmaro
