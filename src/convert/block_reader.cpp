#include "convert/block_reader.hpp"

namespace wfconv {

std::size_t BlockReader::read_block() {
    ++next_index_;
    if (exhausted_) return 0;
    const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), input_);
    // Once short, stay short: a pipe or terminal could deliver again, but samples
    // after a gap would sit at the wrong index.
    exhausted_ = got < buffer_.size();
    return got;
}

void BlockReader::skip_to(std::int32_t target) {
    while (next_index_ < target) read_block();
}

}  // namespace wfconv
