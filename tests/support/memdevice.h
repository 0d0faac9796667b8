#pragma once
// In-memory devices for the archive tests: a buffer, and one whose writes fail after N bytes.

#include "platform/file.h"

#include <cerrno>
#include <string>

namespace velmaro::test {

class MemDevice : public Device {
public:
    explicit MemDevice(std::string bytes = {}) : data(std::move(bytes)) {}

    std::size_t read(char* buf, std::size_t n) override {
        const std::size_t k = data.copy(buf, n, pos);
        pos += k;
        return k;
    }
    void write(const char* buf, std::size_t n) override {
        if (failAfter != std::string::npos && data.size() + n > failAfter)
            throw FileError("Kein Platz mehr auf dem Datenträger", ENOSPC);
        data.append(buf, n);
    }

    std::string data;
    std::size_t pos = 0;
    std::size_t failAfter = std::string::npos;
};

} // namespace velmaro::test
