// SPDX-License-Identifier: MIT
#include "csv/raw_column.hpp"

#include "reader/big_endian.hpp"
#include "reader/sample_math.hpp"

namespace wfconv {

RawColumn::RawColumn(std::span<const std::uint8_t> samples, const ChannelDescriptor& channel)
    : samples_(samples), channel_(channel) {
    cached_ = channel.block_count() >= kLineCacheFromBlocks && cache_.reset(channel.scale, channel.offset);
}

void RawColumn::lines(std::size_t first, std::size_t count, PackedLine* out) {
    const std::span<const std::uint8_t> samples = samples_.subspan(2 * first, 2 * count);
    if (cached_) {
        cache_.pack_lines(samples, out);
        return;
    }
    for (std::size_t at = 0; at < samples.size(); at += 2) {
        *out++ = pack_line(scale_sample(decode_be16(samples, at), channel_.scale, channel_.offset));
    }
}

void RawColumn::values(std::size_t first, std::size_t count, float* out) {
    const std::span<const std::uint8_t> samples = samples_.subspan(2 * first, 2 * count);
    for (std::size_t at = 0; at < samples.size(); at += 2) {
        *out++ = scale_sample(decode_be16(samples, at), channel_.scale, channel_.offset);
    }
}

}  // namespace wfconv
