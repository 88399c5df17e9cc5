// SPDX-License-Identifier: MIT
#include "reader/block_walk.hpp"

namespace wfconv {

std::optional<WaveformHeader> read_header(BlockReader& reader) {
    reader.limit_read_ahead(1);  // the header says how far to go
    if (reader.read_block() < kBlockSize) return std::nullopt;
    const WaveformHeader header = decode_header(reader.block());
    reader.limit_read_ahead(data_end(header));
    return header;
}

}  // namespace wfconv
