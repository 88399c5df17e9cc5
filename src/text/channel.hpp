// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "reader/block_reader.hpp"
#include "reader/header.hpp"
#include "text/line_cache.hpp"
#include "text/line_writer.hpp"

namespace wfconv {

enum class ChannelOutcome {
    complete,
    input_ended,   // the input ran out before the channel's last sample
    read_failed,   // reading the input failed before the channel's last sample
    write_failed,
};

struct ChannelResult {
    ChannelOutcome outcome = ChannelOutcome::complete;
    std::int64_t lines = 0;
};

// Converts the channel's whole blocks from the reader's position, one line per
// sample. On an early end or a failed read only the whole samples that arrived
// are written.
// Everything written is flushed to the writer's stream before returning. A long
// channel keeps its lines in the cache, which the caller may hand to every channel
// of a run.
ChannelResult convert_channel(BlockReader& reader, const ChannelDescriptor& channel, LineWriter& output,
                              LineCache& cache);
ChannelResult convert_channel(BlockReader& reader, const ChannelDescriptor& channel, LineWriter& output);

}  // namespace wfconv
