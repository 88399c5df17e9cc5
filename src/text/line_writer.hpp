// SPDX-License-Identifier: MIT
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdio>
#include <memory>

namespace wfconv {

// Collects output text in a fixed buffer and hands it to the stream in writes of
// exactly kWriteSize bytes (the last one aside). The stream is borrowed, so nothing
// is written on destruction: the owner calls flush() before closing it. The first
// failed write is remembered and every later write is dropped, so a caller checks
// the result once at the end.
class LineWriter {
public:
    // Whole pages per write: the system then copies whole pages into its file cache
    // instead of patching a page that the previous write left half full. 64 KiB makes
    // the cost of each call small next to the copying.
    static constexpr std::size_t kWriteSize = std::size_t{1} << 16U;
    // The most that one reserve() may ask for: a block's lines need 1,666 bytes.
    static constexpr std::size_t kMaxReserve = 4096;

    // Uninitialised, as in BlockReader.
    explicit LineWriter(std::FILE* output)
        : output_(output), buffer_(new char[kWriteSize + kMaxReserve]) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() = default;

    // Room for size (at most kMaxReserve) more bytes: the caller writes them at the
    // returned place and then commits as many as it wrote.
    [[nodiscard]] char* reserve([[maybe_unused]] std::size_t size) {
        assert(size <= kMaxReserve);
        return buffer_.get() + used_;
    }
    void commit(std::size_t size) {
        used_ += size;
        if (used_ >= kWriteSize) write_full();
    }

    // Passes everything buffered here and in the stream on to the file.
    bool flush();

private:
    void write_out(const char* data, std::size_t size);
    // Writes the first kWriteSize bytes and moves the rest to the front.
    void write_full();

    std::FILE* output_;
    // On the heap, so that a small stack suffices. Not cleared: only bytes written
    // into it are ever handed on. Always less than kWriteSize is held between calls,
    // so a reservation always fits.
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

}  // namespace wfconv
