#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "format/big_endian.hpp"
#include "format/header.hpp"
#include "reference.hpp"

namespace wfconv {
namespace {

using test::bits_of;

// The field's bytes after one unrelated byte, so that pos is honoured.
std::vector<std::uint8_t> at_one(std::initializer_list<std::uint8_t> bytes) {
    std::vector<std::uint8_t> out(bytes);
    out.insert(out.begin(), 0xA5);
    return out;
}

// Signed 16-bit fields and samples are two's complement, high byte first.
TEST(Decode, Be16IsSignedBigEndian) {
    const struct {
        std::uint8_t hi, lo;
        std::int16_t want;
    } cases[] = {
        {0xFF, 0xFE, -2}, {0x7F, 0xFF, 32767}, {0x80, 0x00, -32768},
        {0xFF, 0xFF, -1}, {0x00, 0x01, 1},     {0x13, 0x83, 4995},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode_be16(at_one({c.hi, c.lo}), 1), c.want) << int{c.hi} << ' ' << int{c.lo};
    }
}

// Lengths are unsigned 24-bit; only whole 256-byte blocks count.
TEST(Decode, Be24IsUnsignedAndCountsWholeBlocks) {
    const struct {
        std::array<std::uint8_t, 3> bytes;
        std::int32_t want, blocks;
    } cases[] = {
        {{0x01, 0x00, 0x00}, 65536, 256},
        {{0x00, 0x01, 0xFF}, 511, 1},
        {{0x00, 0x00, 0xFF}, 255, 0},
        {{0xFF, 0xFF, 0xFF}, 16777215, 65535},
    };
    for (const auto& c : cases) {
        const std::int32_t got = decode_be24(at_one({c.bytes[0], c.bytes[1], c.bytes[2]}), 1);
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(ChannelDescriptor{.byte_length = got}.block_count(), c.blocks) << got;
    }
}

// Floats are taken bit for bit: no quieting, flushing or conversion.
TEST(Decode, Float32KeepsEveryBitPattern) {
    for (const std::uint32_t bits : {0x3F800000U, 0xBF000000U, 0x7F800000U, 0x80000000U, 0x00000001U, 0x7F800001U,
                                     0xFFC00000U, 0x2D51ECD5U, 0x7F7FFFFFU}) {
        const auto b = [bits](unsigned shift) { return static_cast<std::uint8_t>(bits >> shift); };
        EXPECT_EQ(bits_of(decode_be_float32(at_one({b(24), b(16), b(8), b(0)}), 1)), bits) << std::hex << bits;
    }
    EXPECT_EQ(decode_be_float32(at_one({0x3F, 0x80, 0, 0}), 1), 1.0F);
    EXPECT_EQ(decode_be_float32(at_one({0xBF, 0x00, 0, 0}), 1), -0.5F);
}

// Each channel's four fields sit at fixed offsets, channel 2 sixteen bytes after
// channel 1, and no other byte of the block matters.
TEST(Decode, HeaderReadsOnlyItsEightFields) {
    std::array<std::uint8_t, kBlockSize> block{};
    const std::uint8_t channel1[] = {0xFF, 0xFE, 0x99, 0x01, 0x00, 0x00, 0x3A,
                                     0x83, 0x12, 0x6F, 0xBF, 0x00, 0x00, 0x00};
    const std::uint8_t channel2[] = {0x7F, 0xFF, 0x77, 0x00, 0x01, 0xFF, 0x7F,
                                     0x80, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01};
    std::copy(std::begin(channel1), std::end(channel1), block.begin() + 146);
    std::copy(std::begin(channel2), std::end(channel2), block.begin() + 162);

    const auto expect_fields = [](const WaveformHeader& h) {
        EXPECT_EQ(h.channel1.start_block, -2);
        EXPECT_EQ(h.channel1.byte_length, 65536);
        EXPECT_EQ(bits_of(h.channel1.scale), 0x3A83126FU);
        EXPECT_EQ(bits_of(h.channel1.offset), 0xBF000000U);
        EXPECT_EQ(h.channel2.start_block, 32767);
        EXPECT_EQ(h.channel2.byte_length, 511);
        EXPECT_EQ(bits_of(h.channel2.scale), 0x7F800000U);
        EXPECT_EQ(bits_of(h.channel2.offset), 0x80000001U);
    };
    expect_fields(decode_header(block));

    const auto interpreted = [](std::size_t i) {
        return (i >= 146 && i <= 159 && i != 148) || (i >= 162 && i <= 175 && i != 164);
    };
    for (std::size_t i = 0; i < kBlockSize; ++i) {
        if (interpreted(i)) continue;
        auto changed = block;
        changed[i] ^= 0xFF;
        SCOPED_TRACE(i);
        expect_fields(decode_header(changed));
    }
}

}  // namespace
}  // namespace wfconv
