#include "convert/channel.hpp"

#include "convert/channel_line.hpp"
#include "convert/sample_math.hpp"
#include "format/big_endian.hpp"

namespace wfconv {

ChannelResult convert_channel(BlockReader& reader, const ChannelDescriptor& channel, LineWriter& output) {
    ChannelResult result;
    for (std::int32_t block = 0; block < channel.block_count(); ++block) {
        const std::size_t got = reader.read_block();
        const Block bytes = reader.block();
        for (std::size_t k = 0; k < got / 2; ++k) {
            const float value = scale_sample(decode_be16(bytes, 2 * k), channel.scale, channel.offset);
            output.append(channel_line(value).view());
            ++result.lines;
        }
        if (got < kBlockSize) {
            result.outcome = ChannelOutcome::input_ended;
            break;
        }
    }
    if (!output.flush()) result.outcome = ChannelOutcome::write_failed;
    return result;
}

}  // namespace wfconv
