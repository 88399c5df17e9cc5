// SPDX-License-Identifier: MIT
#include "text/line_writer.hpp"

#include <cstring>

namespace wfconv {

void LineWriter::write_out(const char* data, std::size_t size) {
    if (ok_ && std::fwrite(data, 1, size, output_) != size) ok_ = false;
}

void LineWriter::write_full() {
    write_out(buffer_.get(), kWriteSize);
    used_ -= kWriteSize;
    std::memmove(buffer_.get(), buffer_.get() + kWriteSize, used_);
}

bool LineWriter::flush() {
    write_out(buffer_.get(), used_);
    used_ = 0;
    if (ok_ && std::fflush(output_) != 0) ok_ = false;
    return ok_;
}

}  // namespace wfconv
