#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "format/header.hpp"

namespace wfconv {

// Forward-only reader of 256-byte blocks over an input stream that the caller opened
// for binary reading and keeps ownership of. It never seeks.
class BlockReader {
public:
    explicit BlockReader(std::FILE* input) : input_(input) {}

    // Reads the next block and returns how many of its bytes the input held; only
    // those bytes of block() are valid. After a short read (end of file or a read
    // error) the input counts as exhausted and every later read returns 0.
    std::size_t read_block();

    // Reads and discards blocks until next_index() reaches target. A target at or
    // behind next_index(), negative ones included, reads nothing.
    void skip_to(std::int32_t target);

    [[nodiscard]] Block block() const { return Block(buffer_); }
    [[nodiscard]] std::int32_t next_index() const { return next_index_; }

private:
    std::FILE* input_;
    std::array<std::uint8_t, kBlockSize> buffer_{};
    std::int32_t next_index_ = 0;
    bool exhausted_ = false;
};

}  // namespace wfconv
