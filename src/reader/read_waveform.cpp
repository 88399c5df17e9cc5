// SPDX-License-Identifier: MIT
// The library's front end over bytes in memory, and the block walk that reading from
// a path shares with it.

#include <vector>

#include "reader/channel_values.hpp"
#include "reader/read_blocks.hpp"

namespace wfconv {

ReadResult read_blocks(BlockReader& reader) {
    ReadResult result;
    Waveform& waveform = result.waveform;
    walk_blocks(reader, result, [&waveform](BlockReader& blocks, const ChannelDescriptor& descriptor, int channel) {
        std::vector<float>& values = channel == 1 ? waveform.channel1 : waveform.channel2;
        const bool whole = read_channel_values(blocks, descriptor, values);
        if (!whole) values.shrink_to_fit();
        return whole;
    });
    return result;
}

ReadResult read_waveform(std::span<const std::uint8_t> bytes) {
    BlockReader reader(bytes);
    return read_blocks(reader);
}

}  // namespace wfconv
