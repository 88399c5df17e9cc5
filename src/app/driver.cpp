// SPDX-License-Identifier: MIT
#include "app/driver.hpp"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cli/same_file.hpp"
#include "reader/block_reader.hpp"
#include "reader/block_walk.hpp"
#include "reader/header.hpp"
#include "reader/open_file.hpp"
#include "reader/utf8_path.hpp"
#include "text/channel.hpp"
#include "text/line_cache.hpp"
#include "text/line_writer.hpp"
#include "text/report_text.hpp"

namespace wfconv {

namespace {

// Every console line ends in CR LF, like the channel files.
void print_line(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fwrite("\r\n", 1, 2, stdout);
}

void print_report(const WaveformHeader& header) {
    for (const std::string& line : report_lines(header)) print_line(line);
}

// Announces and creates a channel file; null when it cannot be created. A name that
// leads to the input itself (a link) is refused: creating it would empty the input.
std::FILE* create_channel_file(std::FILE* input, const std::string& input_path, const std::string& output_path) {
    print_line("converting : " + input_path + " -> " + output_path);
    const std::filesystem::path name = path_from_utf8(output_path);
    std::FILE* output = is_same_file(input, name) ? nullptr : open_file(name, FileMode::write);
    if (output == nullptr) {
        print_line("cannot open " + output_path);
        return nullptr;
    }
    // LineWriter already hands over large chunks; a second buffer would only copy.
    std::setvbuf(output, nullptr, _IONBF, 0);
    return output;
}

// Converts one channel into its created file and closes it.
int fill_channel_file(BlockReader& reader, LineCache& cache, const ChannelDescriptor& channel, std::FILE* output,
                      const std::string& input_path, const std::string& output_path) {
    LineWriter writer(output);
    const ChannelResult result = convert_channel(reader, channel, writer, cache);
    const bool closed = std::fclose(output) == 0;
    if (result.outcome == ChannelOutcome::write_failed || !closed) {
        print_line("cannot write " + output_path);
        return kUsageOrOutputFailure;
    }
    if (result.outcome == ChannelOutcome::read_failed) {
        print_line(cannot_read_message(input_path));
        return kInputFailure;
    }
    if (result.outcome == ChannelOutcome::input_ended) {
        print_line(unexpected_end_message(input_path));
        return kInputEndedEarly;
    }
    return kSuccess;
}

int convert_file(std::FILE* input, const std::string& input_path) {
    BlockReader reader(input);
    const std::optional<WaveformHeader> read = read_header(reader);
    if (!read) {
        print_line(cannot_read_message(input_path));
        return kInputFailure;
    }
    const WaveformHeader& header = *read;
    print_report(header);

    // Both channels share one cache: its memory is paid for once per run.
    LineCache cache;

    // Channel 1's file is created before its skip, channel 2's after its own.
    const std::string name1 = input_path + "1.txt";
    std::FILE* output1 = create_channel_file(input, input_path, name1);
    if (output1 == nullptr) return kUsageOrOutputFailure;
    reader.skip_to(header.channel1.start_block);
    const int status1 = fill_channel_file(reader, cache, header.channel1, output1, input_path, name1);
    if (status1 != kSuccess) return status1;

    reader.skip_to(header.channel2.start_block);
    const std::string name2 = input_path + "2.txt";
    std::FILE* output2 = create_channel_file(input, input_path, name2);
    if (output2 == nullptr) return kUsageOrOutputFailure;
    return fill_channel_file(reader, cache, header.channel2, output2, input_path, name2);
}

}  // namespace

int run(int argc, const char* const* argv) {
    if (argc < 2 || argv[1] == nullptr) return kUsageOrOutputFailure;
    const std::string input_path = argv[1];
    std::FILE* input = open_file(path_from_utf8(input_path), FileMode::read);
    if (input == nullptr) {
        print_line("Cannot open " + input_path);
        return kInputFailure;
    }
    int status = convert_file(input, input_path);
    std::fclose(input);
    // A report that never reached its destination is a failed run too. A write that
    // failed earlier (a long report on a closed pipe) shows only in the error flag.
    const bool reported = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    if (!reported && status == kSuccess) status = kUsageOrOutputFailure;
    return status;
}

}  // namespace wfconv
