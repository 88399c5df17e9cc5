// SPDX-License-Identifier: MIT
#pragma once

// A read-only stream over bytes held in memory, for tests of code that reads a FILE*;
// the bytes themselves for code that reads memory. With a read error at the end,
// reading past the bytes fails with EIO instead of finding the end of the file, as a
// failing disk does (glibc only: kReadErrors).

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
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
#ifdef __GLIBC__
    static constexpr bool kReadErrors = true;
#else
    static constexpr bool kReadErrors = false;
#endif

    explicit MemoryInput(std::vector<std::uint8_t> bytes, bool read_error_at_end = false)
        : bytes_(std::move(bytes)), file_(open(read_error_at_end)) {}
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;
    ~MemoryInput() { std::fclose(file_); }
    [[nodiscard]] std::FILE* get() const { return file_; }
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    std::FILE* open([[maybe_unused]] bool read_error_at_end) {
#ifdef __GLIBC__
        if (read_error_at_end) return fopencookie(this, "rb", {&read_then_fail, nullptr, nullptr, nullptr});
#endif
        return open_bytes(bytes_);
    }

#ifdef __GLIBC__
    static ssize_t read_then_fail(void* cookie, char* buffer, std::size_t size) {
        auto& input = *static_cast<MemoryInput*>(cookie);
        const std::size_t count = std::min(size, input.bytes_.size() - input.read_);
        if (count == 0) {
            errno = EIO;
            return -1;
        }
        std::memcpy(buffer, input.bytes_.data() + input.read_, count);
        input.read_ += count;
        return static_cast<ssize_t>(count);
    }
#endif

    std::vector<std::uint8_t> bytes_;
    std::size_t read_ = 0;  // bytes handed out by read_then_fail
    std::FILE* file_;
};

}  // namespace wfconv::test
