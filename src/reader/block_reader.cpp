// SPDX-License-Identifier: MIT
#include "reader/block_reader.hpp"

#include <algorithm>
#include <cerrno>

namespace wfconv {

std::size_t BlockReader::read_block() {
    ++next_index_;
    if (next_ == filled_) {
        // Once short, stay short: a pipe or terminal could deliver again, but samples
        // after a gap would sit at the wrong index.
        if (input_ended_) return 0;
        if (input_ == nullptr) {
            fetch_from_memory();
        } else {
            fetch_from_stream();
        }
        next_ = 0;
    }
    current_ = next_;
    const std::size_t got = std::min(kBlockSize, filled_ - next_);
    // A part-block can only be the last of a short fetch, so it uses up the input.
    next_ += got;
    return got;
}

void BlockReader::fetch_from_stream() {
    // next_index_ already counts the block being read.
    const std::int64_t ahead = std::int64_t{read_ahead_end_} - (next_index_ - 1);
    const auto blocks = static_cast<std::size_t>(std::clamp<std::int64_t>(ahead, 1, kChunkSize / kBlockSize));
    const std::size_t wanted = blocks * kBlockSize;
    filled_ = std::fread(chunk_.get(), 1, wanted, input_);
    input_ended_ = filled_ < wanted;
    // errno is read at once, before anything else can change it; EIO if the C library set none.
    if (input_ended_ && std::ferror(input_) != 0) read_error_ = errno != 0 ? errno : EIO;
    fetched_ = chunk_.get();
}

void BlockReader::fetch_from_memory() {
    // Every whole block at once, in place; then the part-block, copied.
    const std::size_t whole = unread_.size() - unread_.size() % kBlockSize;
    if (whole > 0) {
        fetched_ = unread_.data();
        filled_ = whole;
    } else {
        std::copy(unread_.begin(), unread_.end(), tail_.begin());
        fetched_ = tail_.data();
        filled_ = unread_.size();
    }
    unread_ = unread_.subspan(filled_);
    input_ended_ = unread_.empty();
}

void BlockReader::skip_to(std::int32_t target) {
    while (next_index_ < target) read_block();
}

}  // namespace wfconv
