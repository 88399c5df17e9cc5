// SPDX-License-Identifier: MIT
#pragma once

// Holds the library to a finished run of the command on the same input: read from the
// path and from the file's bytes, it must report the outcome that matches the run, the
// header of the run's report, and exactly the values of the channel files, as the
// command's own line formatter writes them.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "program_runner.hpp"
#include "text/number_text.hpp"
#include "wfconv/wfconv.hpp"

namespace wfconv::test {

inline std::string channel_lines(const std::vector<float>& values) {
    std::string text(values.size() * kChannelLineSize, '\0');
    for (std::size_t i = 0; i < values.size(); ++i) write_channel_line(values[i], text.data() + i * kChannelLineSize);
    return text;
}

// `status` and `out` are the command's; a run that failed on its own output says
// nothing about reading. A FIFO's content is gone once the command has read it.
inline void expect_library_matches_command(const std::filesystem::path& input, int status, const std::string& out) {
    namespace fs = std::filesystem;
    if (status == 1 || fs::is_fifo(input)) return;
    SCOPED_TRACE("the library reading " + input.string());
    ReadOutcome want = status == 0 ? ReadOutcome::complete : ReadOutcome::ended_early;
    std::error_code error;
    if (status == 2 && out.starts_with("Cannot open")) {
        want = ReadOutcome::cannot_open;
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    } else if (status == 2 && fs::is_directory(input)) {
#ifdef _WIN32
        want = ReadOutcome::too_short;  // Windows opens a directory as an empty stream
#else
        want = ReadOutcome::read_failed;
        error = std::make_error_code(std::errc::is_a_directory);
#endif
    } else if (status == 2) {
        want = ReadOutcome::too_short;
    }

    std::vector<ReadResult> results;
    results.push_back(read_waveform(input));
    if (fs::is_regular_file(input)) {
        const std::string text = read_file(input);
        results.push_back(read_waveform(std::vector<std::uint8_t>(text.begin(), text.end())));
    }
    for (const ReadResult& got : results) {
        SCOPED_TRACE(&got == &results.front() ? "from the path" : "from the bytes");
        EXPECT_EQ(got.outcome, want);
        EXPECT_EQ(got.error, error);
        const WaveformHeader& header = got.waveform.header;
        if (status != 2) {
            EXPECT_TRUE(out.starts_with(std::to_string(header.channel1.start_block) + ' ' +
                                        std::to_string(header.channel2.start_block) + ' ' +
                                        std::to_string(header.channel1.byte_length) + ' ' +
                                        std::to_string(header.channel2.byte_length) + "\r\n"));
        }
        for (const int c : {1, 2}) {
            const std::vector<float>& values = c == 1 ? got.waveform.channel1 : got.waveform.channel2;
            fs::path name = input;
            name += std::to_string(c) + ".txt";
            const std::string file = read_file(name);  // empty when absent
            EXPECT_TRUE(channel_lines(values) == file)
                << "channel " << c << ": " << values.size() << " values, file of " << file.size() / kChannelLineSize;
            EXPECT_EQ(values.capacity(), values.size()) << "channel " << c;
        }
    }
}

}  // namespace wfconv::test
