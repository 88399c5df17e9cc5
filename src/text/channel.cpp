// SPDX-License-Identifier: MIT
#include "text/channel.hpp"

#include "reader/big_endian.hpp"
#include "reader/block_walk.hpp"
#include "reader/sample_math.hpp"
#include "text/line_cache.hpp"
#include "text/number_text.hpp"

namespace wfconv {

namespace {

constexpr std::size_t kBlockTextSize = kSamplesPerBlock * kChannelLineSize;
// The cache's last copy of a block runs past the block's text.
constexpr std::size_t kBlockTextRoom = kBlockTextSize + LineCache::kOverrun;
static_assert(kBlockTextRoom <= LineWriter::kMaxReserve);

}  // namespace

ChannelResult convert_channel(BlockReader& reader, const ChannelDescriptor& channel, LineWriter& output,
                              LineCache& cache) {
    ChannelResult result;
    const bool cached = channel.block_count() >= kLineCacheFromBlocks && cache.reset(channel.scale, channel.offset);

    const bool whole = for_each_channel_block(reader, channel, [&](Block bytes, std::size_t count) {
        char* out = output.reserve(kBlockTextRoom);
        if (cached) {
            cache.write_lines(bytes.first(2 * count), out);
        } else {
            for (std::size_t k = 0; k < count; ++k) {
                const float value = scale_sample(decode_be16(bytes, 2 * k), channel.scale, channel.offset);
                write_channel_line(value, out + k * kChannelLineSize);
            }
        }
        output.commit(count * kChannelLineSize);
        result.lines += static_cast<std::int64_t>(count);
    });
    if (!whole) result.outcome = reader.read_failed() ? ChannelOutcome::read_failed : ChannelOutcome::input_ended;
    if (!output.flush()) result.outcome = ChannelOutcome::write_failed;
    return result;
}

ChannelResult convert_channel(BlockReader& reader, const ChannelDescriptor& channel, LineWriter& output) {
    LineCache cache;
    return convert_channel(reader, channel, output, cache);
}

}  // namespace wfconv
