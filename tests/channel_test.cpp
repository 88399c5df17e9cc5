// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "memory_input.hpp"
#include "reader/block_reader.hpp"
#include "reader/sample_math.hpp"
#include "reference.hpp"
#include "test_files.hpp"
#include "text/channel.hpp"
#include "text/line_cache.hpp"
#include "text/line_writer.hpp"
#include "text/number_text.hpp"

namespace wfconv {
namespace {

using test::MemoryInput;

std::vector<std::uint8_t> random_samples(std::size_t bytes, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> data(bytes);
    for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(rng());
    return data;
}

// The channel file that the first whole samples of data should give, by the
// reference arithmetic and printf.
std::string expected_text(const std::vector<std::uint8_t>& data, std::size_t samples, const ChannelDescriptor& channel) {
    std::string text;
    for (std::size_t k = 0; k < samples; ++k) {
        const auto raw = static_cast<std::int16_t>((data[2 * k] << 8) | data[2 * k + 1]);
        text += test::reference_sci(test::reference_sample(raw, channel.scale, channel.offset), 11, 4) + "\r\n";
    }
    return text;
}

struct Converted {
    ChannelResult result;
    std::string text;
};

Converted convert(const std::vector<std::uint8_t>& data, const ChannelDescriptor& channel, bool read_error = false) {
    MemoryInput input(data, read_error);
    BlockReader reader(input.get());
    std::FILE* output = test::temporary_file();
    Converted converted;
    {
        LineWriter writer(output);
        converted.result = convert_channel(reader, channel, writer);
    }
    std::rewind(output);
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, output)) > 0;) converted.text.append(chunk, got);
    std::fclose(output);
    return converted;
}

ChannelDescriptor channel_of(std::int32_t blocks, float scale, float offset) {
    return {.start_block = 1, .byte_length = blocks * 256 + 17, .scale = scale, .offset = offset};
}

// Short channels make each line afresh, long ones (from 256 blocks) through the
// cache; both must give the reference's text across the reader's 256-block fetches
// and the writer's buffer (39 blocks of text).
TEST(ConvertChannel, EveryPathGivesTheReferenceText) {
    if (!test::kExtendedLongDouble) GTEST_SKIP() << "the reference needs x87 long double";
    const std::pair<float, float> scalings[] = {{0.0003125F, -0.0125F}, {-7.77e-39F, 1e-38F}, {3.1e34F, -2.5e38F}};
    for (const std::int32_t blocks : {1, 40, 255, 256, 257, 520}) {
        for (const auto& [scale, offset] : scalings) {
            const ChannelDescriptor channel = channel_of(blocks, scale, offset);
            const std::vector<std::uint8_t> data = random_samples(static_cast<std::size_t>(blocks) * 256, static_cast<std::uint32_t>(blocks));
            const Converted got = convert(data, channel);
            EXPECT_EQ(got.result.outcome, ChannelOutcome::complete) << blocks;
            EXPECT_EQ(got.result.lines, blocks * 128) << blocks;
            EXPECT_TRUE(got.text == expected_text(data, static_cast<std::size_t>(blocks) * 128, channel))
                << blocks << " blocks, scale " << scale;
        }
    }
}

// An input that ends early or fails to be read: the whole samples that arrived, then
// the early end or the read error, whether it falls inside a block, on a fetch
// boundary or before any data.
TEST(ConvertChannel, EarlyEndOrReadErrorKeepsTheWholeSamples) {
    if (!test::kExtendedLongDouble) GTEST_SKIP() << "the reference needs x87 long double";
    const struct { std::int32_t blocks, bytes, lines; } cases[] = {
        {10, 3 * 256 + 101, 3 * 128 + 50},    {100, 70 * 256 + 101, 70 * 128 + 50},
        {300, 256 * 256, 256 * 128},          {300, 256 * 256 + 1, 256 * 128},
        {300, 255 * 256 + 255, 255 * 128 + 127}, {100, 0, 0},
        {256, 1, 0},                          {520, 270 * 256 + 101, 270 * 128 + 50},
    };
    for (const bool read_error : {false, true}) {
        if (read_error && !MemoryInput::kReadErrors) continue;  // no stream that fails here
        const ChannelOutcome outcome = read_error ? ChannelOutcome::read_failed : ChannelOutcome::input_ended;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.bytes) + (read_error ? " bytes, then a read error" : " bytes"));
            const ChannelDescriptor channel = channel_of(c.blocks, 0.0003125F, -0.0125F);
            const auto bytes = static_cast<std::size_t>(c.bytes);
            const std::vector<std::uint8_t> data = random_samples(bytes, static_cast<std::uint32_t>(bytes));
            const Converted got = convert(data, channel, read_error);
            EXPECT_EQ(got.result.outcome, outcome);
            EXPECT_EQ(got.result.lines, c.lines);
            EXPECT_TRUE(got.text == expected_text(data, static_cast<std::size_t>(c.lines), channel));
        }
    }
}

// A failed write is reported whichever path made the lines.
TEST(ConvertChannel, FailedWritesAreReported) {
    for (const std::int32_t blocks : {1, 200}) {
        const std::vector<std::uint8_t> data = random_samples(static_cast<std::size_t>(blocks) * 256, 5);
        MemoryInput input(data);
        BlockReader reader(input.get());
#ifdef _WIN32
        // No /dev/full: a stream open only for reading fails every write as well.
        std::FILE* full = std::fopen("NUL", "rb");
#else
        std::FILE* full = std::fopen("/dev/full", "wb");
#endif
        ASSERT_NE(full, nullptr);
        std::setvbuf(full, nullptr, _IONBF, 0);
        LineWriter writer(full);
        EXPECT_EQ(convert_channel(reader, channel_of(blocks, 1.0F, 0.0F), writer).outcome, ChannelOutcome::write_failed)
            << blocks;
        std::fclose(full);
    }
}

}  // namespace
}  // namespace wfconv
