// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>

#include "reader/header.hpp"

namespace wfconv {

// Forward-only reader of 256-byte blocks over an input stream that the caller opened
// for binary reading and keeps ownership of, or over bytes in memory. It never seeks.
// It fetches many blocks per call to the stream, which changes nothing that a caller
// can see: blocks still come one at a time, in order, with the same short-read
// behaviour.
class BlockReader {
public:
    // Plain new leaves the chunk uninitialised, as make_unique_for_overwrite would;
    // WebAssembly's libc++ 14 (the page's) has no make_unique_for_overwrite yet.
    explicit BlockReader(std::FILE* input) : input_(input), chunk_(new std::uint8_t[kChunkSize]) {}
    // The bytes must outlive the reader. Blocks point straight into them.
    explicit BlockReader(std::span<const std::uint8_t> bytes) : unread_(bytes) {}
    // A copy's blocks would point into the original.
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Reads the next block and returns how many of its bytes the input held; only
    // those bytes of block() are valid. After a short read (end of file or a read
    // error) the input counts as exhausted and every later read returns 0.
    std::size_t read_block();

    // Whether the input was exhausted by a failed read rather than by its end, and
    // the errno of that read.
    [[nodiscard]] bool read_failed() const { return read_error_ != 0; }
    [[nodiscard]] int read_error() const { return read_error_; }

    // Reads and discards blocks until next_index() reaches target. A target at or
    // behind next_index(), negative ones included, reads nothing.
    void skip_to(std::int32_t target);

    // Fetches ahead only up to block end_index (exclusive), so that a pipe is never
    // waited on for blocks the run does not need. A read beyond it still fetches its
    // own block.
    void limit_read_ahead(std::int32_t end_index) { read_ahead_end_ = end_index; }

    [[nodiscard]] Block block() const { return Block(fetched_ + current_, kBlockSize); }
    [[nodiscard]] std::int32_t next_index() const { return next_index_; }

private:
    // 256 blocks a fetch: the stream's per-call cost vanishes, and the chunk still
    // sits in the processor's cache while its samples are converted.
    static constexpr std::size_t kChunkSize = 256 * kBlockSize;

    void fetch_from_stream();
    void fetch_from_memory();

    std::FILE* input_ = nullptr;  // null when reading from memory
    std::span<const std::uint8_t> unread_;  // memory not fetched yet
    const std::uint8_t* fetched_ = nullptr;  // the last fetch's bytes: in chunk_, in memory or in tail_
    // Memory ending in a part-block: it is copied here, so that block() still spans
    // 256 bytes that exist.
    std::array<std::uint8_t, kBlockSize> tail_{};
    // Streams only. On the heap, so that a small stack suffices; not cleared, so that
    // a small file's run touches only the memory it reads into.
    std::unique_ptr<std::uint8_t[]> chunk_;
    std::size_t current_ = 0;  // where block() starts in the fetched bytes
    std::size_t next_ = 0;     // where the next block starts in the fetched bytes
    std::size_t filled_ = 0;   // bytes that the last fetch delivered
    std::int32_t next_index_ = 0;
    std::int32_t read_ahead_end_ = INT32_MAX;
    bool input_ended_ = false;  // the last fetch came back short: nothing follows filled_
    int read_error_ = 0;        // ... because the stream reported this error
};

}  // namespace wfconv
