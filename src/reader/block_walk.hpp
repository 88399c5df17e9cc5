// SPDX-License-Identifier: MIT
#pragma once

// The walk over a waveform file's blocks that the command and the library share; each
// hands the samples on to its own output.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "reader/block_reader.hpp"
#include "reader/header.hpp"

namespace wfconv {

// Reads and decodes block 0; nullopt when the input holds less than a whole block.
// From then on the reader fetches no further ahead than the header's data reaches.
std::optional<WaveformHeader> read_header(BlockReader& reader);

// Calls on_samples(block, count) with the whole samples of each of the channel's
// blocks in turn, from the reader's position, the short block that ends the input
// included. True when every block was whole.
template <class OnSamples>
bool for_each_channel_block(BlockReader& reader, const ChannelDescriptor& channel, OnSamples&& on_samples) {
    const std::int32_t blocks = channel.block_count();
    for (std::int32_t block = 0; block < blocks; ++block) {
        const std::size_t got = reader.read_block();
        on_samples(reader.block(), got / 2);
        if (got < kBlockSize) return false;
    }
    return true;
}

}  // namespace wfconv
