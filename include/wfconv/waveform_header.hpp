// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace wfconv {

// A waveform file is a sequence of blocks of this many bytes; block 0 is the header.
inline constexpr std::size_t kBlockSize = 256;
// Each raw sample is two bytes.
inline constexpr std::size_t kSamplesPerBlock = kBlockSize / 2;

// One channel's four header fields, as decoded from block 0.
struct ChannelDescriptor {
    std::int16_t start_block = 0;  // block index, header block is 0; may be negative
    std::int32_t byte_length = 0;  // unsigned 24-bit on disk
    float scale = 0.0F;
    float offset = 0.0F;

    // A trailing part-block is never converted.
    [[nodiscard]] constexpr std::int32_t block_count() const {
        return byte_length / static_cast<std::int32_t>(kBlockSize);
    }
    // The samples a whole channel holds: the lines of its file.
    [[nodiscard]] constexpr std::size_t sample_count() const {
        return static_cast<std::size_t>(block_count()) * kSamplesPerBlock;
    }
};

struct WaveformHeader {
    ChannelDescriptor channel1;
    ChannelDescriptor channel2;
};

}  // namespace wfconv
