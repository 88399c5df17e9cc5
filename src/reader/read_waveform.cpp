// SPDX-License-Identifier: MIT
// The library's front end over bytes in memory, and the block walk that reading from
// a path shares with it.

#include <optional>

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

    reader.skip_to(header->channel1.start_block);
    if (!read_channel_values(reader, header->channel1, waveform.channel1)) {
        result.outcome = early_end(reader, result.error, ReadOutcome::ended_early);
        waveform.channel1.shrink_to_fit();
        return result;
    }
    reader.skip_to(header->channel2.start_block);
    if (!read_channel_values(reader, header->channel2, waveform.channel2)) {
        result.outcome = early_end(reader, result.error, ReadOutcome::ended_early);
        waveform.channel2.shrink_to_fit();
    }
    return result;
}

ReadResult read_waveform(std::span<const std::uint8_t> bytes) {
    BlockReader reader(bytes);
    return read_blocks(reader);
}

}  // namespace wfconv
