// Runs the built program on waveform files written here and compares the bytes of
// its standard output and of both channel files with text made independently.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "library_matches_command.hpp"
#include "program_runner.hpp"
#include "reference.hpp"
#include "waveform_writer.hpp"

namespace wfconv {
namespace {

namespace fs = std::filesystem;
using test::float_from_bits;
using test::read_file;
using writer::ChannelFields;

constexpr std::size_t kBlock = writer::kBlock;
constexpr int kSamples = static_cast<int>(writer::kSamples);

// Sample k of data block b: different in every block, both signs, and a zero first.
std::int16_t sample_at(int block, int k) {
    if (k == 0) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((block * 40503 + k * 2731) * 7));
}

// Header, data blocks 1..blocks, then the file cut to `size` bytes if given.
struct Waveform {
    Waveform(ChannelFields c1, ChannelFields c2, int data_blocks, std::optional<std::size_t> cut = std::nullopt)
        : channel1(c1), channel2(c2), blocks(data_blocks), size(cut) {}

    ChannelFields channel1;
    ChannelFields channel2;
    int blocks;
    std::optional<std::size_t> size;

    void save(const fs::path& path) const {
        writer::WaveformBuilder builder(channel1, channel2);
        for (int b = 1; b <= blocks; ++b) {
            std::vector<std::int16_t> values;
            values.reserve(kSamples);
            for (int k = 0; k < kSamples; ++k) values.push_back(sample_at(b, k));
            builder.samples(values);
        }
        if (size) builder.truncate(*size);
        builder.save(path);
    }
};

// Two ordinary channels: a millivolt-like scale with an offset, and a binary fraction.
ChannelFields first(std::int16_t start, std::uint32_t length) { return writer::channel(start, length, 0.001F, -0.5F); }
ChannelFields second(std::int16_t start, std::uint32_t length) {
    return writer::channel(start, length, 0.03125F, 1.0F);
}

// `count` lines of a channel whose data starts at data block `first_block`.
std::string channel_text(int first_block, int count, const ChannelFields& fields) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::int16_t raw = sample_at(first_block + i / kSamples, i % kSamples);
        const float value =
            test::reference_sample(raw, float_from_bits(fields.scale_bits), float_from_bits(fields.offset_bits));
        text += test::reference_sci(value, 11, 4) + "\r\n";
    }
    return text;
}

std::string report(const Waveform& w) {
    const auto pair = [](std::uint32_t a, std::uint32_t b) {
        return test::reference_sci(float_from_bits(a), 0, 6) + ' ' + test::reference_sci(float_from_bits(b), 0, 6) +
               "\r\n";
    };
    char counts[64];
    std::snprintf(counts, sizeof counts, "%d %d %u %u\r\n", w.channel1.start_block, w.channel2.start_block,
                  w.channel1.byte_length, w.channel2.byte_length);
    return counts + pair(w.channel1.scale_bits, w.channel2.scale_bits) +
           pair(w.channel1.offset_bits, w.channel2.offset_bits);
}

// Names as the program prints them: UTF-8 on every platform.
std::string converting(const std::string& input, int channel) {
    return "converting : " + input + " -> " + input + std::to_string(channel) + ".txt\r\n";
}
std::string converting(const fs::path& input, int channel) { return converting(test::utf8_of(input), channel); }

fs::path channel_path(const fs::path& input, int channel) {
    return test::path_of_utf8(test::utf8_of(input) + std::to_string(channel) + ".txt");
}

class EndToEnd : public ::testing::Test {
protected:
    struct Result {
        int status;
        std::string out;
    };

    void SetUp() override {
        root_ = test::make_scratch_dir("wfconv-e2e-");
        work_ = root_ / "work";
        fs::create_directory(work_);
    }
    void TearDown() override { test::remove_scratch_dir(root_); }

    // Runs the program with standard output and error captured outside the work directory.
    Result run(const std::vector<std::string>& args, const fs::path& cwd = {}) {
        std::vector<std::string> argv = test::wfconv_command({});
        argv.insert(argv.end(), args.begin(), args.end());
        const test::ProgramResult got = test::run_program(argv, root_, cwd);
        EXPECT_TRUE(got.exited) << "the program did not exit normally";
        EXPECT_EQ(got.err, "") << "nothing may go to standard error";
        return {got.status, got.out};
    }

    // Checks a run: status, standard output and each channel file, absent when nullopt.
    void expect_run(const fs::path& input, const Result& got, int status, const std::string& out,
                    const std::optional<std::string>& channel1, const std::optional<std::string>& channel2) {
        EXPECT_EQ(got.status, status);
        EXPECT_EQ(got.out, out);
        for (int c = 1; c <= 2; ++c) {
            const std::optional<std::string>& want = c == 1 ? channel1 : channel2;
            const fs::path path = channel_path(input, c);
            if (!want) {
                EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
            } else {
                EXPECT_TRUE(fs::is_regular_file(path)) << path;
                EXPECT_TRUE(read_file(path) == *want)
                    << path << " differs: " << read_file(path).size() << " bytes, want " << want->size();
            }
        }
        test::expect_library_matches_command(input, status, out);
    }

    // A run that must succeed, with the channels' data at the given blocks.
    void expect_success(const fs::path& input, const Waveform& w, int first1, int first2,
                        const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{test::utf8_of(input)};
        args.insert(args.end(), extra.begin(), extra.end());
        expect_run(input, run(args), 0, report(w) + converting(input, 1) + converting(input, 2),
                   channel_text(first1, static_cast<int>(w.channel1.byte_length / kBlock) * kSamples, w.channel1),
                   channel_text(first2, static_cast<int>(w.channel2.byte_length / kBlock) * kSamples, w.channel2));
    }

    fs::path root_;
    fs::path work_;
};

// Where each channel's data is taken from: start blocks at, before and after the
// reader, partial blocks, empty channels, and data the program never needs to read.
TEST_F(EndToEnd, BlockWalk) {
    const struct {
        const char* name;
        Waveform w;
        int first1, first2;
    } cases[] = {
        {"start 0", {first(0, 512), second(0, 256), 3}, 1, 3},
        {"negative starts", {first(-2, 256), second(-32768, 256), 2}, 1, 2},
        {"start 5, gap before channel 2", {first(5, 256), second(7, 512), 8}, 5, 7},
        {"channel 2 behind channel 1", {first(3, 512), second(2, 256), 5}, 3, 5},
        {"767 bytes are two blocks", {first(1, 767), second(0, 256), 3}, 1, 3},
        {"start 10 length 100, start 3 length 256", {first(10, 100), second(3, 256), 10}, 10, 10},
        {"lengths below 256", {first(1, 0), second(1, 255), 2}, 1, 2},
        {"partial block after channel 2", {first(1, 256), second(2, 256), 4, 3 * kBlock + 101}, 1, 2},
        {"empty channel 1 starts past the end", {first(20, 0), second(0, 0), 2}, 1, 1},
        {"large channels", {first(2, 32768), second(130, 65536), 385}, 2, 130},
        {"channels of 512 blocks and more", {first(3, 600 * 256), second(1, 512 * 256 + 200), 1114}, 3, 603},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "run7.dat";
        c.w.save(input);
        expect_success(input, c.w, c.first1, c.first2);
    }
}

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
    expect_run(
        input, run({input.string()}), 0,
        "2 130 32768 65536\r\n+INF 1.000000e+00\r\n0.000000e+00 -NAN\r\n" + converting(input, 1) + converting(input, 2),
        channel1, channel2);
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
        expect_run(input, run({argument}, c.relative ? c.dir : fs::path{}), 0,
                   report(w) + converting(argument, 1) + converting(argument, 2), channel_text(1, kSamples, w.channel1),
                   channel_text(2, kSamples, w.channel2));
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
        expect_run(input, run({input.string()}), 1, out + "cannot open " + link.string() + "\r\n",
                   c.channel == 1 ? before : channel_text(1, kSamples, w.channel1),
                   c.channel == 2 ? std::optional<std::string>(before) : std::nullopt);
        EXPECT_TRUE(read_file(input) == before);
    }
}

// No argument: nothing at all, status 1; an input that cannot be opened: one
// line, status 2, no file.
TEST_F(EndToEnd, MissingOrUnopenableInput) {
    expect_run(work_ / "none", run({}), 1, "", std::nullopt, std::nullopt);
    expect_run("", run({""}), 2, "Cannot open \r\n", std::nullopt, std::nullopt);
    const fs::path missing = work_ / "absent.wfm";
    expect_run(missing, run({missing.string()}), 2, "Cannot open " + missing.string() + "\r\n", std::nullopt,
               std::nullopt);
    EXPECT_TRUE(fs::is_empty(work_));
}

// An input that opens but holds less than a header block creates no file.
TEST_F(EndToEnd, InputShorterThanAHeader) {
    const fs::path empty = work_ / "empty.wfm";
    const fs::path short_file = work_ / "short.wfm";
    const fs::path directory = work_ / "dir.wfm";
    Waveform{first(1, 256), second(1, 256), 0, 0}.save(empty);
    Waveform{first(1, 256), second(1, 256), 0, kBlock - 1}.save(short_file);
    fs::create_directory(directory);
    for (const fs::path& input : {empty, short_file, directory}) {
        SCOPED_TRACE(input);
        expect_run(input, run({input.string()}), 2, "Cannot read " + input.string() + "\r\n", std::nullopt,
                   std::nullopt);
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

        const Result got = run({input.string()});
        std::string out = report(w) + converting(input, 1);
        if (c.channel == 2) out += converting(input, 2);
        out += message + blocked.string() + "\r\n";
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.out, out);
        if (c.channel == 1) {
            EXPECT_FALSE(fs::exists(channel_path(input, 2)));
        } else {
            EXPECT_TRUE(read_file(channel_path(input, 1)) == channel_text(1, 256, w.channel1));
        }
    }
}

// A file that ends before a channel's last sample: the whole samples that arrived
// are written, then "Unexpected end of", status 3, and nothing more is done.
TEST_F(EndToEnd, InputEndsEarly) {
    const struct {
        const char* name;
        Waveform w;
        int lines1, lines2;
    } cases[] = {
        {"101 bytes into channel 1", {first(1, 512), second(3, 256), 3, kBlock + 101}, 50, -1},
        {"1 byte into channel 1's second block", {first(1, 512), second(3, 256), 3, 2 * kBlock + 1}, 128, -1},
        {"before channel 1's start", {first(5, 256), second(6, 256), 6, 3 * kBlock}, 0, -1},
        {"101 bytes into channel 2's second block", {first(1, 256), second(2, 512), 3, 3 * kBlock + 101}, 128, 178},
        {"right after channel 1", {first(1, 256), second(4, 256), 4, 2 * kBlock}, 128, 0},
        {"inside a channel 2 of 600 blocks", {first(1, 256), second(2, 600 * 256), 601, 402 * kBlock + 101}, 128,
         400 * 128 + 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "cut.wfm";
        c.w.save(input);
        std::string out = report(c.w) + converting(input, 1);
        std::optional<std::string> channel2;
        if (c.lines2 >= 0) {
            out += converting(input, 2);
            channel2 = channel_text(c.w.channel2.start_block, c.lines2, c.w.channel2);
        }
        out += "Unexpected end of " + input.string() + "\r\n";
        expect_run(input, run({input.string()}), 3, out,
                   channel_text(std::max<int>(c.w.channel1.start_block, 1), c.lines1, c.w.channel1), channel2);
    }
}

}  // namespace
}  // namespace wfconv
