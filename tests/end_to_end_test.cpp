// SPDX-License-Identifier: MIT
// Runs the built program on waveform files written here and compares the bytes of
// its standard output and of both channel files with text made independently.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "end_to_end.hpp"

namespace wfconv {
namespace {

using namespace e2e;  // the shared fixture and its files
using e2e::Waveform;  // not the library's

// The report's literal examples, and channels of infinite scale and signalling NaN
// offset: overflow to +-INF, 0 * INF is -NAN, the NaN is written quiet with its sign.
TEST_F(EndToEnd, ReportAndNonFiniteValues) {
    const Waveform w{writer::ChannelFields{2, 32768, 0x7F800000U, 0},
                     writer::ChannelFields{130, 65536, 0x3F800000U, 0xFF800001U}, 385};
    const fs::path input = work_ / "scope.dat";
    w.save(input);
    std::string channel1;
    for (int i = 0; i < 128 * kSamples; ++i) {
        const std::int16_t raw = sample_at(2 + i / kSamples, i % kSamples);
        channel1 += raw == 0 ? "       -NAN\r\n" : raw > 0 ? "       +INF\r\n" : "       -INF\r\n";
    }
    std::string channel2;
    for (int i = 0; i < 256 * kSamples; ++i) channel2 += "       -NAN\r\n";
    expect_run(input, run({input.string()}),
               {0,
                "2 130 32768 65536\r\n+INF 1.000000e+00\r\n0.000000e+00 -NAN\r\n" + converting(input, 1) +
                    converting(input, 2),
                channel1, channel2});
}

// Only the first argument counts, and channel files that exist are replaced.
TEST_F(EndToEnd, ExtraArgumentsAndExistingFiles) {
    const Waveform w{first(1, 256), second(2, 512), 3};
    const fs::path input = work_ / "in.wfm";
    w.save(input);
    std::ofstream(channel_path(input, 1)) << std::string(100000, 'x');
    std::ofstream(channel_path(input, 2)) << "old";
    expect_success(input, w, 1, 2, {(work_ / "other.wfm").string(), "-h", ""});
}

// Input paths of any length work; the names gain only their suffixes.
TEST_F(EndToEnd, LongInputPath) {
    const fs::path dir = work_ / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c');
    fs::create_directories(dir);
    const fs::path input = dir / "input.wfm";
    ASSERT_GT(input.string().size(), 300U);
    const Waveform w{first(1, 256), second(2, 256), 2};
    w.save(input);
    expect_success(input, w, 1, 2);
}

// A report that cannot be written (standard output on a full disk) fails the run,
// though both channel files are complete.
TEST_F(EndToEnd, ReportThatCannotBeWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/full: Windows has no device on which every write fails";
#endif
    const Waveform w{first(1, 256), second(2, 256), 2};
    const fs::path input = work_ / "in.wfm";
    w.save(input);
    const fs::path capture = root_ / "full";
    fs::create_directory(capture);
    fs::create_symlink("/dev/full", capture / "stdout");
    const test::ProgramResult got = test::run_program(test::wfconv_command({input.string()}), capture);
    EXPECT_TRUE(got.exited);
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(read_file(channel_path(input, 1)), channel_text(1, kSamples, w.channel1));
    EXPECT_EQ(read_file(channel_path(input, 2)), channel_text(2, kSamples, w.channel2));
}

// Names in other scripts (outside any ANSI code page on Windows) and with spaces,
// given whole or relative to the working directory, where the whole path is past
// Windows' 260 characters: the channel files bear the same characters, and the
// messages print the names as UTF-8.
TEST_F(EndToEnd, NamesInAnyScript) {
    const auto utf8 = [](std::u8string_view text) { return std::string(text.begin(), text.end()); };
    const struct {
        fs::path dir;
        std::string file;  // UTF-8
        bool relative;     // run inside dir with the bare file name as argument
    } cases[] = {
        {work_ / test::path_of_utf8(utf8(u8"目录 Ελλάδα")), utf8(u8"数据 Ωμέγα №1.wfm"), false},
        {work_ / std::string(150, 'd') / test::path_of_utf8(utf8(u8"γ 目录")),
         utf8(u8"短 名 ") + std::string(80, 'n') + ".wfm", true},
    };
    const Waveform w{first(1, 256), second(2, 256), 2};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        fs::create_directories(c.dir);
        const fs::path input = c.dir / test::path_of_utf8(c.file);
        w.save(input);
        const std::string argument = c.relative ? c.file : test::utf8_of(input);
        expect_run(input, run({argument}, c.relative ? c.dir : fs::path{}),
                   {0, report(w) + converting(argument, 1) + converting(argument, 2),
                    channel_text(1, kSamples, w.channel1), channel_text(2, kSamples, w.channel2)});
    }
}

// A channel file's name that leads to the input itself, through a symbolic or a
// hard link: "cannot open" with that name and status 1, and the input left whole.
TEST_F(EndToEnd, ChannelFileThatIsTheInput) {
    const Waveform w{first(1, 256), second(2, 256), 2};
    const struct {
        bool symbolic;
        int channel;
    } cases[] = {{true, 1}, {true, 2}, {false, 1}, {false, 2}};
    for (const auto& c : cases) {
#ifdef _WIN32
        if (c.symbolic) continue;  // Wine only pretends to make symbolic links
#endif
        SCOPED_TRACE((c.symbolic ? "symbolic link, channel " : "hard link, channel ") + std::to_string(c.channel));
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "w.dat";
        w.save(input);
        const std::string before = read_file(input);
        const fs::path link = channel_path(input, c.channel);
        if (c.symbolic) {
            fs::create_symlink(input, link);
        } else {
            fs::create_hard_link(input, link);
        }

        std::string out = report(w) + converting(input, 1);
        if (c.channel == 2) out += converting(input, 2);
        expect_run(input, run({input.string()}),
                   {1, out + "cannot open " + link.string() + "\r\n",
                    c.channel == 1 ? before : channel_text(1, kSamples, w.channel1),
                    c.channel == 2 ? std::optional<std::string>(before) : std::nullopt});
        EXPECT_TRUE(read_file(input) == before);
    }
}

// A channel file that cannot be created (a directory stands at its name) or not
// written (it leads to a full device) stops the run with status 1.
TEST_F(EndToEnd, ChannelFileFailures) {
    const Waveform w{first(1, 512), second(3, 256), 3};
    const struct {
        bool create_fails;
        int channel;
    } cases[] = {{true, 1}, {true, 2}, {false, 1}, {false, 2}};
    for (const auto& c : cases) {
#ifdef _WIN32
        if (!c.create_fails) continue;  // needs /dev/full, which Windows lacks
#endif
        const std::string message = c.create_fails ? "cannot open " : "cannot write ";
        SCOPED_TRACE(message + std::to_string(c.channel));
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "in.wfm";
        w.save(input);
        const fs::path blocked = channel_path(input, c.channel);
        if (c.create_fails) {
            fs::create_directory(blocked);
        } else {
            fs::create_symlink("/dev/full", blocked);
        }

        const ProgramResult got = run({input.string()});
        std::string out = report(w) + converting(input, 1);
        if (c.channel == 2) out += converting(input, 2);
        out += message + blocked.string() + "\r\n";
        EXPECT_TRUE(got.exited) << "the program did not exit normally";
        EXPECT_EQ(got.err, "") << "nothing may go to standard error";
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.out, out);
        if (c.channel == 1) {
            EXPECT_FALSE(fs::exists(channel_path(input, 2)));
        } else {
            EXPECT_TRUE(read_file(channel_path(input, 1)) == channel_text(1, 256, w.channel1));
        }
    }
}

}  // namespace
}  // namespace wfconv
