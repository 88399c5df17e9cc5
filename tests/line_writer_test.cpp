// SPDX-License-Identifier: MIT
#include "text/line_writer.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_files.hpp"

namespace wfconv {
namespace {

#ifdef _WIN32

// Windows has no cookie streams: a file with no buffer of its own takes the writes,
// whose sizes go unseen here (the POSIX build checks them).
class RecordingStream {
public:
    RecordingStream()
        : dir_(test::make_scratch_dir("wfconv-writer-")), file_(std::fopen((dir_ / "out").string().c_str(), "wb")) {
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    RecordingStream(const RecordingStream&) = delete;
    RecordingStream& operator=(const RecordingStream&) = delete;
    ~RecordingStream() {
        std::fclose(file_);
        test::remove_scratch_dir(dir_);
    }
    std::FILE* get() const { return file_; }
    std::string bytes() const { return test::read_file(dir_ / "out"); }

private:
    std::filesystem::path dir_;
    std::FILE* file_;
};

#else

// A stream that records the size of every write it is handed.
class RecordingStream {
public:
    RecordingStream() {
        cookie_io_functions_t io{};
        io.write = [](void* self, const char* data, std::size_t size) -> ssize_t {
            auto& me = *static_cast<RecordingStream*>(self);
            me.sizes.push_back(size);
            me.received.append(data, size);
            return static_cast<ssize_t>(size);
        };
        file_ = fopencookie(this, "w", io);
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    RecordingStream(const RecordingStream&) = delete;
    RecordingStream& operator=(const RecordingStream&) = delete;
    ~RecordingStream() { std::fclose(file_); }
    std::FILE* get() const { return file_; }
    std::string bytes() const { return received; }

    std::vector<std::size_t> sizes;
    std::string received;

private:
    std::FILE* file_;
};

#endif

// Pieces of any size up to a reservation come out in order, in writes of exactly
// kWriteSize bytes but the last, and nothing is written before it is committed.
TEST(LineWriter, WritesWholeBuffersInOrder) {
    RecordingStream stream;
    std::string sent;
    {
        LineWriter writer(stream.get());
        const std::size_t pieces[] = {1664, 13, 1, LineWriter::kMaxReserve, 0, 777, 1667};
        for (int i = 0; i < 2000; ++i) {
            const std::size_t size = pieces[static_cast<std::size_t>(i) % std::size(pieces)];
            char* room = writer.reserve(size);
            for (std::size_t k = 0; k < size; ++k) room[k] = static_cast<char>('a' + (static_cast<std::size_t>(i) + k) % 26);
            writer.commit(size);
            sent.append(room, size);
        }
        const std::string written = stream.bytes();
        EXPECT_EQ(written, sent.substr(0, written.size()));
        EXPECT_EQ(written.size() % LineWriter::kWriteSize, 0U);
        EXPECT_TRUE(writer.flush());
    }
    EXPECT_TRUE(stream.bytes() == sent);
#ifndef _WIN32
    ASSERT_GT(stream.sizes.size(), 10U);
    for (std::size_t i = 0; i + 1 < stream.sizes.size(); ++i) EXPECT_EQ(stream.sizes[i], LineWriter::kWriteSize) << i;
    EXPECT_LT(stream.sizes.back(), LineWriter::kWriteSize);
#endif
}

}  // namespace
}  // namespace wfconv
