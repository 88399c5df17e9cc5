#pragma once

// A read-only stream over bytes held in memory, for tests of code that reads a FILE*;
// the bytes themselves for code that reads memory.

#include <cstdint>
#include <cstdio>
#include <span>
#include <utility>
#include <vector>

namespace wfconv::test {

class MemoryInput {
public:
    // fmemopen refuses an empty buffer, so an empty input is an empty temporary file.
    explicit MemoryInput(std::vector<std::uint8_t> bytes)
        : bytes_(std::move(bytes)),
          file_(bytes_.empty() ? std::tmpfile() : fmemopen(bytes_.data(), bytes_.size(), "rb")) {}
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;
    ~MemoryInput() { std::fclose(file_); }
    [[nodiscard]] std::FILE* get() const { return file_; }
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::FILE* file_;
};

}  // namespace wfconv::test
