// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "reader/block_reader.hpp"
#include "reader/header.hpp"

namespace wfconv {

// Appends the values of the channel's whole blocks from the reader's position: the
// samples that the command writes as lines, in the same order. Room for the whole
// channel is reserved at once. False when the input ended first; values then hold the
// whole samples that arrived.
bool read_channel_values(BlockReader& reader, const ChannelDescriptor& channel, std::vector<float>& values);

}  // namespace wfconv
