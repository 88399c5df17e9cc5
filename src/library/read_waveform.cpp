// The library's front end: opens the input or takes the caller's bytes, then walks the
// blocks as the command does, collecting values where the command writes lines.

#include <cerrno>
#include <cstdio>
#include <optional>

#include "convert/block_reader.hpp"
#include "convert/block_walk.hpp"
#include "library/channel_values.hpp"
#include "platform/open_file.hpp"
#include "wfconv/wfconv.hpp"

namespace wfconv {

namespace {

ReadOutcome early_end(const BlockReader& reader, std::error_code& error, ReadOutcome otherwise) {
    if (!reader.read_failed()) return otherwise;
    error = std::error_code(reader.read_error(), std::generic_category());
    return ReadOutcome::read_failed;
}

ReadResult read_blocks(BlockReader& reader) {
    ReadResult result;
    const std::optional<WaveformHeader> header = read_header(reader);
    if (!header) {
        result.outcome = early_end(reader, result.error, ReadOutcome::too_short);
        return result;
    }
    Waveform& waveform = result.waveform;
    waveform.header = *header;

    reader.skip_to(header->channel1.start_block);
    if (!read_channel_values(reader, header->channel1, waveform.channel1)) {
        result.outcome = early_end(reader, result.error, ReadOutcome::ended_early);
        waveform.channel1.shrink_to_fit();
        return result;
    }
    reader.skip_to(header->channel2.start_block);
    if (!read_channel_values(reader, header->channel2, waveform.channel2)) {
        result.outcome = early_end(reader, result.error, ReadOutcome::ended_early);
        waveform.channel2.shrink_to_fit();
    }
    return result;
}

}  // namespace

ReadResult read_waveform(const std::filesystem::path& path) {
    std::FILE* input = open_file(path, FileMode::read);
    if (input == nullptr) {
        ReadResult result;
        result.outcome = ReadOutcome::cannot_open;
        result.error = std::error_code(errno, std::generic_category());
        return result;
    }
    BlockReader reader(input);
    ReadResult result = read_blocks(reader);
    std::fclose(input);
    return result;
}

ReadResult read_waveform(std::span<const std::uint8_t> bytes) {
    BlockReader reader(bytes);
    return read_blocks(reader);
}

}  // namespace wfconv
