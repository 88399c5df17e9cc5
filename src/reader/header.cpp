// SPDX-License-Identifier: MIT
#include "reader/header.hpp"

#include <algorithm>

#include "reader/big_endian.hpp"

namespace wfconv {

namespace {

// Channel 1's fields start at byte 146; channel 2's sit 16 bytes further on.
constexpr std::size_t kChannel1Fields = 146;
constexpr std::size_t kChannelStride = 16;

// Offsets relative to a channel's first field. Byte 2 (ahead of the length) is not read.
constexpr std::size_t kStartBlockAt = 0;
constexpr std::size_t kByteLengthAt = 3;
constexpr std::size_t kScaleAt = 6;
constexpr std::size_t kOffsetAt = 10;

ChannelDescriptor decode_channel(Block block, std::size_t base) {
    return ChannelDescriptor{
        .start_block = decode_be16(block, base + kStartBlockAt),
        .byte_length = decode_be24(block, base + kByteLengthAt),
        .scale = decode_be_float32(block, base + kScaleAt),
        .offset = decode_be_float32(block, base + kOffsetAt),
    };
}

}  // namespace

WaveformHeader decode_header(Block block) {
    return WaveformHeader{
        .channel1 = decode_channel(block, kChannel1Fields),
        .channel2 = decode_channel(block, kChannel1Fields + kChannelStride),
    };
}

std::int32_t data_end(const WaveformHeader& header) {
    const std::int32_t start1 = std::max<std::int32_t>(header.channel1.start_block, 1);
    const std::int32_t start2 = std::max<std::int32_t>(start1 + header.channel1.block_count(), header.channel2.start_block);
    return start2 + header.channel2.block_count();
}

}  // namespace wfconv
