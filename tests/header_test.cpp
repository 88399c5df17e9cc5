// SPDX-License-Identifier: MIT
#include "reader/header.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "reference.hpp"

namespace wfconv {
namespace {

using test::bits_of;

// Each channel's four fields sit at fixed offsets, channel 2 sixteen bytes after
// channel 1, and no other byte of the block matters.
TEST(Header, ReadsOnlyItsEightFields) {
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
