#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace wfconv {

// Collects output text in a fixed buffer and hands it to the stream in large
// writes. The stream is borrowed, so nothing is written on destruction: the owner
// calls flush() before closing it. The first failed write is remembered and every
// later write is dropped, so a caller checks the result once at the end.
class LineWriter {
public:
    explicit LineWriter(std::FILE* output) : output_(output) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() = default;

    void append(std::string_view text) {
        if (text.size() > buffer_.size() - used_) {
            flush();
            if (text.size() > buffer_.size()) {
                write_out(text.data(), text.size());
                return;
            }
        }
        text.copy(buffer_.data() + used_, text.size());
        used_ += text.size();
    }

    // Passes everything buffered here and in the stream on to the file.
    bool flush();

    [[nodiscard]] bool ok() const { return ok_; }

private:
    void write_out(const char* data, std::size_t size);

    std::FILE* output_;
    std::array<char, std::size_t{1} << 16U> buffer_{};
    std::size_t used_ = 0;
    bool ok_ = true;
};

}  // namespace wfconv
