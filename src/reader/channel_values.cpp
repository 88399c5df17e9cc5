// SPDX-License-Identifier: MIT
#include "reader/channel_values.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "reader/big_endian.hpp"
#include "reader/block_walk.hpp"
#include "reader/large_pages.hpp"
#include "reader/sample_math.hpp"

namespace wfconv {

namespace {

constexpr std::size_t kRawValues = std::size_t{1} << 16U;

// From this many blocks on (65,536 samples, as many as there are raw values) a
// channel's values are looked up in a table of every raw value's; below it, computing
// each sample costs less than filling the table.
constexpr std::int32_t kTabledFromBlocks = 512;

std::vector<float> value_table(const ChannelDescriptor& channel) {
    std::vector<float> table(kRawValues);
    for (std::size_t bits = 0; bits < kRawValues; ++bits) {
        const auto raw = std::bit_cast<std::int16_t>(static_cast<std::uint16_t>(bits));
        table[bits] = scale_sample(raw, channel.scale, channel.offset);
    }
    return table;
}

}  // namespace

bool read_channel_values(BlockReader& reader, const ChannelDescriptor& channel, std::vector<float>& values) {
    values.reserve(values.size() + channel.sample_count());
    prefer_large_pages(values.data() + values.size(), (values.capacity() - values.size()) * sizeof(float));
    const std::vector<float> table =
        channel.block_count() >= kTabledFromBlocks ? value_table(channel) : std::vector<float>{};

    // Each block's values are made here and appended in one copy: the channel's
    // memory is written once, never cleared first.
    std::array<float, kSamplesPerBlock> block_values{};
    return for_each_channel_block(reader, channel, [&](Block bytes, std::size_t count) {
        if (table.empty()) {
            for (std::size_t k = 0; k < count; ++k) {
                block_values[k] = scale_sample(decode_be16(bytes, 2 * k), channel.scale, channel.offset);
            }
        } else {
            for (std::size_t k = 0; k < count; ++k) {
                block_values[k] = table[std::bit_cast<std::uint16_t>(decode_be16(bytes, 2 * k))];
            }
        }
        values.insert(values.end(), block_values.begin(), block_values.begin() + static_cast<std::ptrdiff_t>(count));
    });
}

}  // namespace wfconv
