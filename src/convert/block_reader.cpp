#include "convert/block_reader.hpp"

#include <algorithm>

namespace wfconv {

std::size_t BlockReader::read_block() {
    ++next_index_;
    if (next_ == filled_) {
        // Once short, stay short: a pipe or terminal could deliver again, but samples
        // after a gap would sit at the wrong index.
        if (input_ended_) return 0;
        // next_index_ already counts the block being read.
        const std::int64_t ahead = std::int64_t{read_ahead_end_} - (next_index_ - 1);
        const auto blocks = static_cast<std::size_t>(std::clamp<std::int64_t>(ahead, 1, kChunkSize / kBlockSize));
        const std::size_t wanted = blocks * kBlockSize;
        filled_ = std::fread(chunk_.get(), 1, wanted, input_);
        input_ended_ = filled_ < wanted;
        read_failed_ = input_ended_ && std::ferror(input_) != 0;
        next_ = 0;
    }
    current_ = next_;
    const std::size_t got = std::min(kBlockSize, filled_ - next_);
    // A part-block can only be the last of a short fetch, so it uses up the input.
    next_ += got;
    return got;
}

void BlockReader::skip_to(std::int32_t target) {
    while (next_index_ < target) read_block();
}

}  // namespace wfconv
