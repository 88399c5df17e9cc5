// SPDX-License-Identifier: MIT
#pragma once

#include "reader/block_reader.hpp"
#include "wfconv/waveform.hpp"

namespace wfconv {

// Walks the blocks as the command does, collecting values where the command writes
// lines; shared by reading from a path and from bytes in memory.
ReadResult read_blocks(BlockReader& reader);

}  // namespace wfconv
