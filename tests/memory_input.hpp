#pragma once

// A read-only stream over bytes held in memory, for tests of code that reads a FILE*.

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "test_files.hpp"

namespace wfconv::test {

#ifdef _WIN32
// Windows has no fmemopen: the bytes go through a temporary file.
inline std::FILE* open_bytes(std::vector<std::uint8_t>& bytes) {
    std::FILE* file = temporary_file();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    return file;
}
#else
// fmemopen refuses an empty buffer, so an empty input is an empty temporary file.
inline std::FILE* open_bytes(std::vector<std::uint8_t>& bytes) {
    return bytes.empty() ? temporary_file() : fmemopen(bytes.data(), bytes.size(), "rb");
}
#endif

class MemoryInput {
public:
    explicit MemoryInput(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)), file_(open_bytes(bytes_)) {}
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;
    ~MemoryInput() { std::fclose(file_); }
    [[nodiscard]] std::FILE* get() const { return file_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::FILE* file_;
};

}  // namespace wfconv::test
