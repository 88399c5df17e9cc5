#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace wfconv {

inline constexpr std::size_t kBlockSize = 256;
// Each raw sample is two bytes.
inline constexpr std::size_t kSamplesPerBlock = kBlockSize / 2;

using Block = std::span<const std::uint8_t, kBlockSize>;

struct ChannelDescriptor {
    std::int16_t start_block = 0;  // block index, header block is 0; may be negative
    std::int32_t byte_length = 0;  // unsigned 24-bit on disk
    float scale = 0.0F;
    float offset = 0.0F;

    // A trailing part-block is never converted.
    [[nodiscard]] std::int32_t block_count() const {
        return byte_length / static_cast<std::int32_t>(kBlockSize);
    }
};

struct WaveformHeader {
    ChannelDescriptor channel1;
    ChannelDescriptor channel2;
};

// Any 256 bytes decode; nothing is validated here.
WaveformHeader decode_header(Block block);

// The index just past channel 2's last data block: where a run stops reading. Channel 1
// starts right after the header at the earliest, channel 2 after channel 1's data.
std::int32_t data_end(const WaveformHeader& header);

}  // namespace wfconv
