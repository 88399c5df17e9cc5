// SPDX-License-Identifier: MIT
#include "reader/big_endian.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "reader/header.hpp"
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
TEST(BigEndian, Be16IsSignedBigEndian) {
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
TEST(BigEndian, Be24IsUnsignedAndCountsWholeBlocks) {
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
TEST(BigEndian, Float32KeepsEveryBitPattern) {
    for (const std::uint32_t bits : {0x3F800000U, 0xBF000000U, 0x7F800000U, 0x80000000U, 0x00000001U, 0x7F800001U,
                                     0xFFC00000U, 0x2D51ECD5U, 0x7F7FFFFFU}) {
        const auto b = [bits](unsigned shift) { return static_cast<std::uint8_t>(bits >> shift); };
        EXPECT_EQ(bits_of(decode_be_float32(at_one({b(24), b(16), b(8), b(0)}), 1)), bits) << std::hex << bits;
    }
    EXPECT_EQ(decode_be_float32(at_one({0x3F, 0x80, 0, 0}), 1), 1.0F);
    EXPECT_EQ(decode_be_float32(at_one({0xBF, 0x00, 0, 0}), 1), -0.5F);
}

}  // namespace
}  // namespace wfconv
