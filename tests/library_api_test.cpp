// SPDX-License-Identifier: MIT
// The library's read over bytes in memory and through the C interface, held to values
// worked out here from the raw samples written, and reads on several threads at once.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "expected_sample.hpp"
#include "test_files.hpp"
#include "waveform_writer.hpp"
#include "wfconv/waveform.hpp"
#include "wfconv/wfconv.h"

namespace wfconv::test {
namespace {

using writer::kBlock;

constexpr float kScale[] = {0.001F, -0.03125F}, kOffset[] = {-0.5F, 1.0F};
std::int16_t raw_sample(int channel, std::size_t i) { return static_cast<std::int16_t>(i * 2654435761U >> channel); }

// Channel 1 has blocks 1 and 2 (and a part-block that is never read).
struct Case {
    const char* name;
    int start2, blocks2;
    std::size_t size;  // the bytes kept
    ReadOutcome outcome;
    int cut_channel;
    std::size_t count1, count2;  // the samples that arrive
};
const Case kCases[] = {
    {"complete", 4, 3, 7 * kBlock, ReadOutcome::complete, 0, 256, 384},
    {"less than a header", 4, 3, kBlock - 1, ReadOutcome::too_short, 0, 0, 0},
    {"cut 101 bytes into channel 1's second block", 4, 3, 2 * kBlock + 101, ReadOutcome::ended_early, 1, 178, 0},
    {"cut before channel 1", 4, 3, kBlock, ReadOutcome::ended_early, 1, 0, 0},
    {"cut right after channel 1", 5, 3, 3 * kBlock, ReadOutcome::ended_early, 2, 256, 0},
    {"cut 3 bytes into channel 2, after a gap", 5, 3, 5 * kBlock + 3, ReadOutcome::ended_early, 2, 256, 1},
    {"600 blocks of channel 2 (by table), cut", 3, 600, 500 * kBlock, ReadOutcome::ended_early, 2, 256, std::size_t{497} * 128},
};

std::vector<std::uint8_t> file_of(const Case& c) {
    writer::WaveformBuilder file(writer::channel(1, 2 * kBlock + 9, kScale[0], kOffset[0]),
                                 writer::channel(static_cast<std::int16_t>(c.start2),
                                                 static_cast<std::uint32_t>(c.blocks2) * kBlock, kScale[1], kOffset[1]));
    std::vector<std::int16_t> raw(writer::kSamples);
    for (int block = 1; block < c.start2 + c.blocks2; ++block) {
        const int channel = block < c.start2 ? 0 : 1;
        const auto first = static_cast<std::size_t>(block - (channel == 0 ? 1 : c.start2)) * writer::kSamples;
        for (std::size_t k = 0; k < raw.size(); ++k) raw[k] = raw_sample(channel, first + k);
        file.samples(raw);
    }
    return file.truncate(c.size).bytes();
}

// Outcome, cut channel and every value's bytes of a read through the C interface, which it frees.
std::string summary(wfconv_waveform* w) {
    std::string text = std::to_string(static_cast<int>(w->outcome)) + ' ' + std::to_string(w->error) + ' ' +
                       std::to_string(wfconv_cut_channel(w));
    for (const wfconv_channel* c : {&w->channel1, &w->channel2}) {
        text += ' ' + std::to_string(c->count) + ':';
        text.append(reinterpret_cast<const char*>(c->values), c->count * sizeof(float));
    }
    wfconv_free(w);
    return text;
}

TEST(LibraryApi, ReadsBytesInMemory) {
    EXPECT_EQ(wfconv_cut_channel(nullptr), 0);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> bytes = file_of(c);
        const ReadResult got = read_waveform(bytes);
        EXPECT_EQ(got.outcome, c.outcome);
        EXPECT_EQ(got.cut_channel, c.cut_channel);
        for (const int channel : {0, 1}) {
            const std::vector<float>& values = channel == 0 ? got.waveform.channel1 : got.waveform.channel2;
            ASSERT_EQ(values.size(), channel == 0 ? c.count1 : c.count2) << "channel " << channel + 1;
            for (std::size_t i = 0; i < values.size(); ++i) {
                const float want = expected_sample(raw_sample(channel, i), kScale[channel], kOffset[channel]);
                ASSERT_EQ(bits_of(values[i]), bits_of(want)) << "channel " << channel + 1 << " sample " << i;
            }
        }
        const std::string through_c = summary(wfconv_read_memory(bytes.data(), bytes.size()));
        EXPECT_TRUE(through_c.starts_with(std::to_string(static_cast<int>(c.outcome)) + " 0 " +
                                          std::to_string(c.cut_channel) + ' '));
    }
}

// Every case read at once by several threads, each in its own order, by path and from
// memory in turn, each read alike to the same read done alone.
TEST(LibraryApi, ReadsOnSeveralThreadsAtOnce) {
    const std::filesystem::path dir = make_scratch_dir("wfconv-threads-");
    std::vector<std::vector<std::uint8_t>> files;
    std::vector<std::string> paths;
    std::vector<std::string> alone;
    for (const Case& c : kCases) {
        files.push_back(file_of(c));
        paths.push_back(utf8_of(dir / (std::to_string(paths.size()) + ".wfm")));
        std::ofstream(path_of_utf8(paths.back()), std::ios::binary)
            .write(reinterpret_cast<const char*>(files.back().data()), static_cast<std::streamsize>(files.back().size()));
        alone.push_back(summary(wfconv_read_memory(files.back().data(), files.back().size())));
    }
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t n = 0; n < 3 * files.size(); ++n) {
                const std::size_t i = (n + t) % files.size();
                const std::string got = summary((n / files.size() + t) % 2 == 0
                                                    ? wfconv_read_file(paths[i].c_str())
                                                    : wfconv_read_memory(files[i].data(), files[i].size()));
                EXPECT_TRUE(got == alone[i]) << "file " << i << " on thread " << t;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    remove_scratch_dir(dir);
}

}  // namespace
}  // namespace wfconv::test
