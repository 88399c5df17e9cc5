// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "wfconv/waveform_header.hpp"

namespace wfconv {

using Block = std::span<const std::uint8_t, kBlockSize>;

// Any 256 bytes decode; nothing is validated here.
WaveformHeader decode_header(Block block);

// The index just past channel 2's last data block: where a run stops reading. Channel 1
// starts right after the header at the earliest, channel 2 after channel 1's data.
std::int32_t data_end(const WaveformHeader& header);

}  // namespace wfconv
