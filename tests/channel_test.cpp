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

#include "convert/block_reader.hpp"
#include "convert/channel.hpp"
#include "convert/channel_line.hpp"
#include "convert/line_cache.hpp"
#include "convert/line_writer.hpp"
#include "convert/sample_math.hpp"
#include "memory_input.hpp"
#include "reference.hpp"

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

Converted convert(const std::vector<std::uint8_t>& data, const ChannelDescriptor& channel) {
    MemoryInput input(data);
    BlockReader reader(input.get());
    std::FILE* output = std::tmpfile();
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

// An input that ends early: the whole samples that arrived, then the early end,
// whether the end falls inside a block, on a fetch boundary or before any data.
TEST(ConvertChannel, EarlyEndKeepsTheWholeSamples) {
    if (!test::kExtendedLongDouble) GTEST_SKIP() << "the reference needs x87 long double";
    const struct { std::int32_t blocks, bytes, lines; } cases[] = {
        {10, 3 * 256 + 101, 3 * 128 + 50},    {100, 70 * 256 + 101, 70 * 128 + 50},
        {300, 256 * 256, 256 * 128},          {300, 256 * 256 + 1, 256 * 128},
        {300, 255 * 256 + 255, 255 * 128 + 127}, {100, 0, 0},
        {256, 1, 0},                          {520, 270 * 256 + 101, 270 * 128 + 50},
    };
    for (const auto& c : cases) {
        const ChannelDescriptor channel = channel_of(c.blocks, 0.0003125F, -0.0125F);
        const auto bytes = static_cast<std::size_t>(c.bytes);
        const std::vector<std::uint8_t> data = random_samples(bytes, static_cast<std::uint32_t>(bytes));
        const Converted got = convert(data, channel);
        EXPECT_EQ(got.result.outcome, ChannelOutcome::input_ended) << c.bytes;
        EXPECT_EQ(got.result.lines, c.lines) << c.bytes;
        EXPECT_TRUE(got.text == expected_text(data, static_cast<std::size_t>(c.lines), channel)) << c.bytes;
    }
}

// A failed write is reported whichever path made the lines.
TEST(ConvertChannel, FailedWritesAreReported) {
    for (const std::int32_t blocks : {1, 200}) {
        const std::vector<std::uint8_t> data = random_samples(static_cast<std::size_t>(blocks) * 256, 5);
        MemoryInput input(data);
        BlockReader reader(input.get());
        std::FILE* full = std::fopen("/dev/full", "wb");
        ASSERT_NE(full, nullptr);
        std::setvbuf(full, nullptr, _IONBF, 0);
        LineWriter writer(full);
        EXPECT_EQ(convert_channel(reader, channel_of(blocks, 1.0F, 0.0F), writer).outcome, ChannelOutcome::write_failed)
            << blocks;
        std::fclose(full);
    }
}

// The text that the cache gives for raw values stored big-endian, a block's worth
// (or fewer) at a time.
std::string cached_lines(LineCache& cache, const std::vector<std::uint16_t>& raws) {
    std::string text;
    for (std::size_t first = 0; first < raws.size(); first += 128) {
        const std::size_t count = std::min<std::size_t>(128, raws.size() - first);
        std::vector<std::uint8_t> bytes;
        for (std::size_t k = 0; k < count; ++k) {
            bytes.push_back(static_cast<std::uint8_t>(raws[first + k] >> 8U));
            bytes.push_back(static_cast<std::uint8_t>(raws[first + k]));
        }
        std::vector<char> out(count * kChannelLineSize + LineCache::kOverrun);
        cache.write_lines(bytes.data(), count, out.data());
        text.append(out.data(), count * kChannelLineSize);
    }
    return text;
}

// The cache hands out exactly the line that would be made afresh, the first time
// and every later time, for every raw value, under scalings that reach every decimal
// exponent and every non-finite text; one cache serves the scalings in turn, as it
// serves the channels of a run.
TEST(LineCache, GivesTheLineMadeAfresh) {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<std::pair<float, float>> scalings = {
        {0.0003125F, -0.0125F}, {1.0F, 0.0F}, {-1.0F, -0.0F}, {inf, 0.0F}, {1e38F, 1e38F},
        {1.0F, test::float_from_bits(0xFFC00001U)}, {test::float_from_bits(0x7FC00000U), 0.0F},
    };
    for (int exponent = -45; exponent <= 34; exponent += 4) {  // raw values span five decades
        scalings.emplace_back(std::strtof(("1e" + std::to_string(exponent)).c_str(), nullptr), 0.0F);
    }
    std::vector<std::uint16_t> raws(65536);
    for (std::uint32_t i = 0; i < raws.size(); ++i) raws[i] = static_cast<std::uint16_t>(i * 40503U);  // odd step: all
    LineCache cache;
    for (const auto& [scale, offset] : scalings) {
        ASSERT_TRUE(cache.reset(scale, offset));
        std::string fresh;
        for (const std::uint16_t raw : raws) fresh += channel_line(scale_sample(static_cast<std::int16_t>(raw), scale, offset)).view();
        for (int pass = 0; pass < 2; ++pass) EXPECT_TRUE(cached_lines(cache, raws) == fresh) << "scale " << scale << ", pass " << pass;
    }
}

// A cache reset far more often than a run's two channels still forgets every
// earlier channel's lines: channel 0 makes lines for raw values 1 to 600, and
// channel c (offset c) meets raw value c for the first time since then.
TEST(LineCache, ForgetsOnEveryReset) {
    constexpr int kChannels = 600;
    LineCache cache;
    ASSERT_TRUE(cache.reset(1.0F, 0.0F));
    std::vector<std::uint16_t> first(kChannels);
    for (int raw = 1; raw <= kChannels; ++raw) first[static_cast<std::size_t>(raw - 1)] = static_cast<std::uint16_t>(raw);
    cached_lines(cache, first);
    int wrong = 0;
    for (int channel = 1; channel <= kChannels; ++channel) {
        const auto offset = static_cast<float>(channel);
        ASSERT_TRUE(cache.reset(1.0F, offset));
        const std::string got = cached_lines(cache, {static_cast<std::uint16_t>(channel)});
        if (got != channel_line(static_cast<float>(channel) + offset).view()) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

// A stream that records the size of every write it is handed.
class RecordingStream {
public:
    RecordingStream() {
        cookie_io_functions_t io{};
        io.write = [](void* self, const char* data, std::size_t size) -> ssize_t {
            auto& me = *static_cast<RecordingStream*>(self);
            me.sizes.push_back(size);
            me.bytes.append(data, size);
            return static_cast<ssize_t>(size);
        };
        file_ = fopencookie(this, "w", io);
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    RecordingStream(const RecordingStream&) = delete;
    RecordingStream& operator=(const RecordingStream&) = delete;
    ~RecordingStream() { std::fclose(file_); }
    std::FILE* get() const { return file_; }

    std::vector<std::size_t> sizes;
    std::string bytes;

private:
    std::FILE* file_;
};

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
        EXPECT_EQ(stream.bytes, sent.substr(0, stream.bytes.size()));
        EXPECT_EQ(stream.bytes.size() % LineWriter::kWriteSize, 0U);
        EXPECT_TRUE(writer.flush());
    }
    EXPECT_TRUE(stream.bytes == sent);
    ASSERT_GT(stream.sizes.size(), 10U);
    for (std::size_t i = 0; i + 1 < stream.sizes.size(); ++i) EXPECT_EQ(stream.sizes[i], LineWriter::kWriteSize) << i;
    EXPECT_LT(stream.sizes.back(), LineWriter::kWriteSize);
}

// Blocks numbered by their content, around the reader's 256-block fetches: every
// block comes whole and in order, then the short rest, then nothing.
TEST(BlockReader, FetchBoundaries) {
    for (const std::size_t blocks : {255U, 256U, 257U, 511U, 512U, 513U}) {
        for (const std::size_t tail : {0U, 1U, 255U}) {
            std::vector<std::uint8_t> bytes;
            for (std::size_t b = 0; b <= blocks; ++b) bytes.insert(bytes.end(), b < blocks ? 256 : tail, static_cast<std::uint8_t>(b % 251));
            MemoryInput input(bytes);
            BlockReader reader(input.get());
            bool in_order = true;
            for (std::size_t b = 0; b < blocks; ++b) {
                const std::size_t got = reader.read_block();
                const Block block = reader.block();
                in_order = in_order && got == 256 &&
                           std::all_of(block.begin(), block.end(), [b](std::uint8_t v) { return v == b % 251; });
            }
            EXPECT_TRUE(in_order) << blocks << " + " << tail;
            EXPECT_EQ(reader.read_block(), tail) << blocks << " + " << tail;
            if (tail > 0) {
                EXPECT_EQ(reader.block()[tail - 1], blocks % 251) << blocks << " + " << tail;
                EXPECT_EQ(reader.read_block(), 0U);
            }
            EXPECT_EQ(reader.read_block(), 0U);
            EXPECT_EQ(reader.next_index(), static_cast<std::int32_t>(blocks + (tail > 0 ? 3 : 2)));
        }
    }
}

// Skipping across fetches lands on the right block.
TEST(BlockReader, SkipAcrossFetches) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t b = 0; b < 700; ++b) bytes.insert(bytes.end(), 256, static_cast<std::uint8_t>(b % 251));
    for (const std::int32_t target : {1, 255, 256, 257, 600, 699}) {
        MemoryInput input(bytes);
        BlockReader reader(input.get());
        reader.read_block();
        reader.skip_to(target);
        EXPECT_EQ(reader.next_index(), target);
        EXPECT_EQ(reader.read_block(), 256U);
        EXPECT_EQ(reader.block()[0], target % 251) << target;
    }
}

}  // namespace
}  // namespace wfconv
