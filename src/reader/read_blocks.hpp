// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <system_error>

#include "reader/block_reader.hpp"
#include "reader/block_walk.hpp"
#include "wfconv/waveform.hpp"

namespace wfconv {

// Walks the blocks as the command does: the header into result.waveform.header, then
// each channel from its first block through read_channel(reader, descriptor, channel
// number), which collects its samples and returns false when the input ended first.
// Sets result's outcome, error and cut_channel as ReadResult's. Shared by the library's
// values and wfconv-csv's raw samples.
template <class Result, class ReadChannel>
void walk_blocks(BlockReader& reader, Result& result, ReadChannel&& read_channel) {
    const auto early_end = [&](ReadOutcome otherwise) {
        if (!reader.read_failed()) return otherwise;
        result.error = std::error_code(reader.read_error(), std::generic_category());
        return ReadOutcome::read_failed;
    };
    const std::optional<WaveformHeader> header = read_header(reader);
    if (!header) {
        result.outcome = early_end(ReadOutcome::too_short);
        return;
    }
    result.waveform.header = *header;
    for (const int channel : {1, 2}) {
        const ChannelDescriptor& descriptor = channel == 1 ? header->channel1 : header->channel2;
        reader.skip_to(descriptor.start_block);
        if (!read_channel(reader, descriptor, channel)) {
            result.outcome = early_end(ReadOutcome::ended_early);
            result.cut_channel = channel;
            return;
        }
    }
}

// The library's walk, collecting values where the command writes lines; shared by
// reading from a path and from bytes in memory.
ReadResult read_blocks(BlockReader& reader);

}  // namespace wfconv
