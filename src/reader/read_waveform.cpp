// SPDX-License-Identifier: MIT
// The library's front end over bytes in memory, and the block walk that reading from
// a path shares with it.

#include <optional>
#include <vector>

#include "reader/block_walk.hpp"
#include "reader/channel_values.hpp"
#include "reader/read_blocks.hpp"

namespace wfconv {

namespace {

ReadOutcome early_end(const BlockReader& reader, std::error_code& error, ReadOutcome otherwise) {
    if (!reader.read_failed()) return otherwise;
    error = std::error_code(reader.read_error(), std::generic_category());
    return ReadOutcome::read_failed;
}

}  // namespace

ReadResult read_blocks(BlockReader& reader) {
    ReadResult result;
    const std::optional<WaveformHeader> header = read_header(reader);
    if (!header) {
        result.outcome = early_end(reader, result.error, ReadOutcome::too_short);
        return result;
    }
    Waveform& waveform = result.waveform;
    waveform.header = *header;

    for (const int channel : {1, 2}) {
        const ChannelDescriptor& descriptor = channel == 1 ? header->channel1 : header->channel2;
        std::vector<float>& values = channel == 1 ? waveform.channel1 : waveform.channel2;
        reader.skip_to(descriptor.start_block);
        if (!read_channel_values(reader, descriptor, values)) {
            result.outcome = early_end(reader, result.error, ReadOutcome::ended_early);
            result.cut_channel = channel;
            values.shrink_to_fit();
            return result;
        }
    }
    return result;
}

ReadResult read_waveform(std::span<const std::uint8_t> bytes) {
    BlockReader reader(bytes);
    return read_blocks(reader);
}

}  // namespace wfconv
