// SPDX-License-Identifier: MIT
#include "csv/raw_waveform.hpp"

#include <cerrno>
#include <cstdio>

#include "reader/large_pages.hpp"
#include "reader/open_file.hpp"
#include "reader/read_blocks.hpp"

namespace wfconv {

namespace {

// Appends the channel's whole samples from the reader's position; false when the input
// ended first.
bool read_channel_samples(BlockReader& reader, const ChannelDescriptor& channel, std::vector<std::uint8_t>& samples) {
    samples.reserve(2 * channel.sample_count());
    prefer_large_pages(samples.data(), samples.capacity());
    return for_each_channel_block(reader, channel, [&samples](Block bytes, std::size_t count) {
        samples.insert(samples.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(2 * count));
    });
}

}  // namespace

RawReadResult read_raw_waveform(const std::filesystem::path& path) {
    RawReadResult result;
    std::FILE* input = open_file(path, FileMode::read);
    if (input == nullptr) {
        result.outcome = ReadOutcome::cannot_open;
        result.error = std::error_code(errno, std::generic_category());
        return result;
    }
    BlockReader reader(input);
    RawWaveform& waveform = result.waveform;
    walk_blocks(reader, result, [&waveform](BlockReader& blocks, const ChannelDescriptor& descriptor, int channel) {
        return read_channel_samples(blocks, descriptor, channel == 1 ? waveform.channel1 : waveform.channel2);
    });
    std::fclose(input);
    return result;
}

}  // namespace wfconv
