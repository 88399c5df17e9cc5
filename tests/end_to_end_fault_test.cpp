// SPDX-License-Identifier: MIT
// Fault tests on the built program: inputs cut at every length, disks that fill,
// awkward paths and kinds of input, special header floats, and leaks or
// descriptors left open. Expected bytes come from the layout and the references.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "app/driver.hpp"
#include "edge_floats.hpp"
#include "end_to_end.hpp"
#include "sweep_size.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define WFCONV_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WFCONV_SANITIZED 1
#endif
#endif

namespace wfconv {
namespace {

using namespace e2e;  // the shared fixture and its files
using e2e::Waveform;  // not the library's

// A small file laid out like a real one: block 0 header, 1 unused, 2-3 channel 1,
// 4 unused, 5 channel 2 (its length ends in a part-block), 6 never read.
constexpr std::int16_t kStart1 = 2;
constexpr std::int16_t kStart2 = 5;
constexpr std::int64_t kBlocks1 = 2;
constexpr std::int64_t kBlocks2 = 1;
constexpr std::int64_t kFileBlocks = 7;
const ChannelFields kChannel1 = first(kStart1, 512);
const ChannelFields kChannel2 = second(kStart2, 300);

std::vector<std::uint8_t> layout_bytes() { return Waveform{kChannel1, kChannel2, kFileBlocks - 1}.bytes(); }

// The layout file cut to `size` bytes, named `input` on the command line: each
// channel keeps the whole samples that arrived, and a channel left short ends the run.
Expected cut_outcome(const std::string& input, std::int64_t size) {
    if (size < kBlock) return {2, "Cannot read " + input + "\r\n", std::nullopt, std::nullopt};
    const auto held = [size](std::int64_t first, std::int64_t blocks) {
        return std::clamp<std::int64_t>(size - first * kBlock, 0, blocks * kBlock) / 2;
    };
    const std::string ended = "Unexpected end of " + input + "\r\n";
    Expected want{0, report(kChannel1, kChannel2) + converting(input, 1), std::nullopt, std::nullopt};
    const std::int64_t lines1 = held(kStart1, kBlocks1);
    want.channel1 = channel_text(kChannel1, samples_from(kStart1, lines1));
    if (lines1 < kBlocks1 * kSamples) {
        want.status = 3;
        want.out += ended;
        return want;
    }
    want.out += converting(input, 2);
    const std::int64_t lines2 = held(kStart2, kBlocks2);
    want.channel2 = channel_text(kChannel2, samples_from(kStart2, lines2));
    if (lines2 < kBlocks2 * kSamples) {
        want.status = 3;
        want.out += ended;
    }
    return want;
}

class Faults : public EndToEnd {};

// Runs of the program started while it lives skip LeakSanitizer's exit scan, which
// costs more than the run itself; leaks are checked by the runs that keep it.
class LeakScanOff {
public:
    LeakScanOff() {
#ifdef WFCONV_SANITIZED
        const char* options = std::getenv("ASAN_OPTIONS");
        saved_ = options == nullptr ? "" : options;
        ::setenv("ASAN_OPTIONS", (saved_ + ":detect_leaks=0").c_str(), 1);
#endif
    }
    LeakScanOff(const LeakScanOff&) = delete;
    LeakScanOff& operator=(const LeakScanOff&) = delete;
    ~LeakScanOff() {
#ifdef WFCONV_SANITIZED
        ::setenv("ASAN_OPTIONS", saved_.c_str(), 1);
#endif
    }

private:
    std::string saved_;
};

struct CutRange {
    const char* name;
    std::size_t from;
    std::size_t to;  // past the last length
};

void PrintTo(const CutRange& range, std::ostream* out) { *out << range.name; }

class EveryCutLength : public Faults, public ::testing::WithParamInterface<CutRange> {};

// Every length from empty to whole: below one block "Cannot read" and no file; then
// the whole samples that arrived, and "Unexpected end of" with status 3 if a channel
// came up short. A part-block after channel 2's data is never needed.
TEST_P(EveryCutLength, StatusAndLinesFollowTheBytesThatArrived) {
    const std::vector<std::uint8_t> whole = layout_bytes();
    const fs::path input = work_ / "cut.wfm";
    const LeakScanOff fast;
    for (std::size_t size = GetParam().from; size < GetParam().to; ++size) {
        // A reduced run keeps both parities and every length near a block's edge.
        const std::size_t in_block = size % kBlock;
        if (size % test::sweep_divisor() > 1 && in_block > 2 && in_block < kBlock - 2) continue;
        SCOPED_TRACE("cut at " + std::to_string(size) + " bytes");
        write_file(input, std::span(whole).first(size));
        fs::remove(channel_path(input, 1));
        fs::remove(channel_path(input, 2));
        expect_run(input, run({input.string()}), cut_outcome(input.string(), static_cast<std::int64_t>(size)));
        if (HasFailure()) break;  // the first wrong length tells enough
    }
}

// Split by where the cut falls, so that the parts can run side by side.
INSTANTIATE_TEST_SUITE_P(Faults, EveryCutLength,
                         ::testing::Values(CutRange{"InTheHeader", 0, kBlock},
                                           CutRange{"UpToChannel1sEnd", kBlock, 4 * kBlock},
                                           CutRange{"UpToChannel2sEnd", 4 * kBlock, 6 * kBlock},
                                           CutRange{"InTheBlockNeverRead", 6 * kBlock, kFileBlocks * kBlock + 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A disk that fills while a channel is being written, long after its first bytes:
// "cannot write" with the channel file's name and status 1, for either channel.
TEST_F(Faults, DiskFillsInsideAChannel) {
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/full: Windows has no device on which every write fails";
#endif
    constexpr std::int64_t kBig = 60;  // 7,680 lines: more than the program writes out at once
    const ChannelFields big1 = first(1, kBig * kBlock);
    const ChannelFields big2 = second(kBig + 1, kBig * kBlock);
    const std::vector<std::uint8_t> bytes = Waveform{big1, big2, 2 * kBig}.bytes();
    for (const int channel : {1, 2}) {
        SCOPED_TRACE("channel " + std::to_string(channel));
        const fs::path dir = work_ / std::to_string(channel);
        fs::create_directory(dir);
        const fs::path input = dir / "in.wfm";
        write_file(input, bytes);
        const fs::path full = channel_path(input, channel);
        fs::create_symlink("/dev/full", full);

        const ProgramResult got = run({input.string()});
        std::string out = report(big1, big2) + converting(input.string(), 1);
        if (channel == 2) out += converting(input.string(), 2);
        EXPECT_TRUE(got.exited);
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.out, out + "cannot write " + full.string() + "\r\n");
        if (channel == 1) {
            EXPECT_FALSE(fs::exists(channel_path(input, 2)));
        } else {
            EXPECT_EQ(first_difference(read_file(channel_path(input, 1)),
                                       channel_text(big1, samples_from(1, kBig * kSamples))),
                      "");
        }
    }
}

// The buffers live on the heap, so that a small stack (a thread's, a restricted
// shell's) converts a cached channel and a direct one completely. 48 KiB is below
// either buffer (64 and 68 KiB), so putting back just one of them fails too.
TEST_F(Faults, SmallStack) {
#if defined(_WIN32) || defined(WFCONV_EMULATOR)
    GTEST_SKIP() << "needs a POSIX shell's ulimit around the program itself, not Windows or an emulator";
#else
    constexpr std::int64_t kLong = 300;  // from 256 blocks on, lines come from the cache
    constexpr std::int64_t kShort = 10;
    const ChannelFields long1 = first(1, kLong * kBlock);
    const ChannelFields short2 = second(kLong + 1, kShort * kBlock);
    const fs::path input = work_ / "in.wfm";
    Waveform{long1, short2, kLong + kShort}.save(input);
    const std::string path = input.string();
    const ProgramResult got =
        test::run_program({"/bin/sh", "-c", "ulimit -s 48 && exec \"$0\" \"$1\"", WFCONV_EXE, path}, root_);
    expect_run(input, got,
               {0, report(long1, short2) + converting(path, 1) + converting(path, 2),
                channel_text(long1, samples_from(1, kLong * kSamples)),
                channel_text(short2, samples_from(kLong + 1, kShort * kSamples))});
#endif
}

#if !defined(_WIN32) && !defined(WFCONV_EMULATOR)
// Runs the program with standard output on a pipe whose reader has already gone, and
// with SIGPIPE at its default action, as a shell pipeline gives it.
ProgramResult run_into_closed_pipe(const std::string& input) {
    int ends[2];
    if (::pipe(ends) != 0) return {};
    ::close(ends[0]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(ends[1], 1);
        ::signal(SIGPIPE, SIG_DFL);
        ::execl(WFCONV_EXE, WFCONV_EXE, input.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(ends[1]);
    int wait_status = 0;
    if (pid < 0 || ::waitpid(pid, &wait_status, 0) != pid || !WIFEXITED(wait_status)) return {};
    return {true, WEXITSTATUS(wait_status), {}, {}};
}
#endif

// A reader of standard output that has gone does not stop the conversion: both files
// are written whole and the run ends with status 1, whether the report outgrows the
// stdio buffer before channel 1's file (a long path) or fails only at the end.
TEST_F(Faults, StandardOutputClosedEarly) {
#if defined(_WIN32) || defined(WFCONV_EMULATOR)
    GTEST_SKIP() << "needs SIGPIPE and the program run directly, which Windows and an emulator lack";
#else
    std::string deep = (work_ / "long").string();
    while (deep.size() < 3000) deep += "/" + std::string(200, 'd');
    const std::vector<std::uint8_t> whole = layout_bytes();
    for (const fs::path& dir : {work_ / "short", fs::path(deep)}) {
        SCOPED_TRACE(dir.string().size());
        fs::create_directories(dir);
        const fs::path input = dir / "in.wfm";
        write_file(input, whole);
        const ProgramResult got = run_into_closed_pipe(input.string());
        EXPECT_TRUE(got.exited) << "the program did not exit normally";
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(first_difference(read_file(channel_path(input, 1)),
                                   channel_text(kChannel1, samples_from(kStart1, kBlocks1 * kSamples))),
                  "");
        EXPECT_EQ(first_difference(read_file(channel_path(input, 2)),
                                   channel_text(kChannel2, samples_from(kStart2, kBlocks2 * kSamples))),
                  "");
    }
#endif
}

#ifndef _WIN32
// Writes `bytes` into a FIFO in small pieces with pauses, once the program has
// opened it; stops quietly where the program stops reading.
bool feed_fifo(const fs::path& fifo, std::span<const std::uint8_t> bytes) {
    using namespace std::chrono_literals;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 5000; ++tries) {  // up to about 5 s for the program to start
        fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) std::this_thread::sleep_for(1ms);
    }
    if (fd < 0) return false;
    ::fcntl(fd, F_SETFL, 0);
    constexpr std::size_t kPiece = 100;  // never a whole block in one piece
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::size_t size = std::min(kPiece, bytes.size() - at);
        if (::write(fd, bytes.data() + at, size) != static_cast<ssize_t>(size)) break;
        std::this_thread::sleep_for(1ms);
    }
    ::close(fd);
    return true;
}
#endif

// A FIFO hands the file over in pieces: pieces are not taken for the end, and a
// FIFO that closes early, inside a channel or before a whole header, ends the run as
// a cut file does.
TEST_F(Faults, FifoInput) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a FIFO in the file system, which Windows lacks";
#else
    const std::vector<std::uint8_t> whole = layout_bytes();
    const auto previous = std::signal(SIGPIPE, SIG_IGN);  // the program leaves the last block unread
    for (const std::size_t size : {whole.size(), std::size_t{3 * kBlock + 101}, std::size_t{100}}) {
        SCOPED_TRACE("FIFO delivers " + std::to_string(size) + " bytes");
        const fs::path dir = work_ / std::to_string(size);
        fs::create_directory(dir);
        const fs::path fifo = dir / "pipe.wfm";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        test::Program program(test::wfconv_command({fifo.string()}), dir);
        ASSERT_TRUE(program.started());
        EXPECT_TRUE(feed_fifo(fifo, std::span(whole).first(size)));
        expect_run(fifo, program.wait(), cut_outcome(fifo.string(), static_cast<std::int64_t>(size)));
    }
    std::signal(SIGPIPE, previous);
#endif
}

// The run reads no further than the header says it needs, so a writer that keeps the
// FIFO open after the last data block does not hold the conversion up.
TEST_F(Faults, FifoLeftOpenAfterTheData) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a FIFO in the file system, which Windows lacks";
#else
    const std::vector<std::uint8_t> whole = layout_bytes();
    const fs::path fifo = work_ / "open.wfm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::Program program(test::wfconv_command({fifo.string()}), root_);
    ASSERT_TRUE(program.started());
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const auto needed = static_cast<std::size_t>(kBlock) * static_cast<std::size_t>(kFileBlocks - 1);
    ASSERT_EQ(::write(fd, whole.data(), needed), static_cast<ssize_t>(needed));
    const bool ended = program.ends_within(std::chrono::seconds{20});
    ::close(fd);
    EXPECT_TRUE(ended) << "the run waited for bytes after channel 2's data";
    expect_run(fifo, program.wait(), cut_outcome(fifo.string(), static_cast<std::int64_t>(whole.size())));
#endif
}

// Paths are taken literally, whatever they hold: spaces, bytes that are neither
// ASCII nor UTF-8, a leading "-", and 4,000 characters across nested directories.
TEST_F(Faults, AwkwardPaths) {
    std::string deep = (work_ / "long").string();
    while (4000 - deep.size() - 1 > 240) deep += "/" + std::string(200, 'd');
    const std::string deep_name(4000 - deep.size() - 1, 'n');  // 240 at most: room for "1.txt"
    ASSERT_EQ((fs::path(deep) / deep_name).string().size(), 4000U);

    const struct {
        const char* name;
        fs::path dir;
        std::string file;
        bool relative;  // run inside dir with the bare file name as argument
    } cases[] = {
#ifdef _WIN32  // Windows drops spaces at the end of a name
        {"spaces", work_ / " a b", " in put .wfm", false},
#else
        {"spaces", work_ / " a b ", "in put .wfm ", false},
#endif
#ifndef _WIN32  // Windows names are UTF-16: bytes that are not UTF-8 name nothing
        {"non-ASCII bytes", work_ / "d\xC3\xA9j\xC3\xA0", "\xFF\xFE\x01wave\x7F.wfm", false},
#endif
        {"leading dash", work_ / "dash", "-h", true},
        {"4,000 characters", deep, deep_name, false},
    };
    const std::vector<std::uint8_t> whole = layout_bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::create_directories(c.dir);
        const fs::path input = c.dir / c.file;
        write_file(input, whole);
        const std::string argument = c.relative ? c.file : input.string();
        expect_run(input, run({argument}, c.relative ? c.dir : fs::path{}),
                   cut_outcome(argument, static_cast<std::int64_t>(whole.size())));
    }
}

// Every pairing of special scale and offset floats against the extreme raw samples:
// no trap, and the IEEE default results: overflow to an infinity, invalid operations
// to -NAN, NaNs keeping their sign, signalling NaNs reported as quiet ones, and of two
// NaNs meeting the one x87 keeps.
TEST_F(Faults, SpecialHeaderFloats) {
    constexpr std::int16_t kRaw[] = {-32768, -1, 0, 1, 32767};
    std::vector<std::int16_t> raws;
    for (std::int64_t k = 0; k < kSamples; ++k) raws.push_back(kRaw[k % 5]);

    std::vector<ChannelFields> channels;
    for (const std::uint32_t scale : test::kEdgeFloatBits) {
        for (const std::uint32_t offset : test::kEdgeFloatBits) channels.push_back({0, 256, scale, offset});
    }
    const fs::path input = work_ / "special.wfm";
    const LeakScanOff fast;
    // Two pairings a file: channel 1 reads block 1, channel 2 block 2.
    for (std::size_t i = 0; i < channels.size(); i += 2) {
        ChannelFields first = channels[i];
        ChannelFields second = channels[std::min(i + 1, channels.size() - 1)];
        first.start_block = 1;
        second.start_block = 2;
        SCOPED_TRACE("scale/offset bits " + std::to_string(first.scale_bits) + "/" + std::to_string(first.offset_bits) +
                     " and " + std::to_string(second.scale_bits) + "/" + std::to_string(second.offset_bits));
        writer::WaveformBuilder file(first, second);
        file.samples(raws).samples(raws);
        write_file(input, file.bytes());
        const std::string text = input.string();
        expect_run(input, run({text}),
                   {0, report(first, second) + converting(text, 1) + converting(text, 2), channel_text(first, raws),
                    channel_text(second, raws)});
        if (HasFailure()) break;
    }
}

#ifndef _WIN32
std::vector<std::string> open_descriptors() {
    std::vector<std::string> open;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        open.push_back(entry.path().filename().string() + " " + fs::read_symlink(entry.path(), error).string());
    }
    std::sort(open.begin(), open.end());
    return open;
}
#endif

// Every way through the driver closes what it opened: this process holds the same
// descriptors before and after each run. (Leaks are LeakSanitizer's job in the
// sanitizer build, which checks this process at exit.)
TEST_F(Faults, NoDescriptorLeftOpen) {
#ifdef _WIN32
    GTEST_SKIP() << "lists this process's descriptors in /proc/self/fd, which Windows lacks";
#else
    const std::vector<std::uint8_t> whole = layout_bytes();
    const struct {
        const char* name;
        std::size_t size;
        const char* blocked;  // what stands at a channel file's name
        int channel;
        int status;
    } cases[] = {
        {"whole", whole.size(), nullptr, 0, 0},
        {"cut inside channel 1", 3 * kBlock + 101, nullptr, 0, 3},
        {"shorter than a header", 100, nullptr, 0, 2},
        {"channel 1 on a full disk", whole.size(), "/dev/full", 1, 1},
        {"channel 2 cannot be created", whole.size(), "", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "in.wfm";
        write_file(input, std::span(whole).first(c.size));
        if (c.blocked != nullptr) {
            const fs::path at = channel_path(input, c.channel);
            if (*c.blocked == '\0') {
                fs::create_directory(at);
            } else {
                fs::create_symlink(c.blocked, at);
            }
        }

        const std::vector<std::string> before = open_descriptors();
        std::fflush(stdout);
        const int saved = ::dup(1);
        const int console = ::open((dir / "console").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(console, 1);
        ::close(console);
        const std::string argument = input.string();
        const char* argv[] = {"wfconv", argument.c_str(), nullptr};
        const int status = wfconv::run(2, argv);
        std::fflush(stdout);
        ::dup2(saved, 1);
        ::close(saved);

        EXPECT_EQ(status, c.status);
        EXPECT_EQ(open_descriptors(), before);
    }
#endif
}

#if !defined(_WIN32) && !defined(WFCONV_CROSS_BUILD)
std::string find_in_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path == nullptr ? "" : path;
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        start = end + 1;
    }
    return {};
}

// valgrind lists every descriptor open at exit; those the program opened itself,
// unlike the ones it inherited, must all be closed.
bool only_inherited_descriptors(const std::string& log) {
    for (std::size_t at = log.find("Open file descriptor"); at != std::string::npos;
         at = log.find("Open file descriptor", at + 1)) {
        // The next line, past valgrind's "==pid==" prefix, tells where it came from.
        const std::size_t next_line = log.find('\n', at);
        const std::size_t text = next_line == std::string::npos ? next_line : log.find_first_not_of("=0123456789 ", next_line + 1);
        if (text == std::string::npos || log.compare(text, 23, "<inherited from parent>") != 0) return false;
    }
    return true;
}
#endif

// A read that fails inside channel 1 (strace makes the input's second read fail with
// EIO) is no early end: "Cannot read" and status 2, and the channel file keeps whole
// lines of the samples read before the error.
TEST_F(Faults, ReadErrorInsideAChannel) {
#if defined(_WIN32) || defined(WFCONV_CROSS_BUILD)
    GTEST_SKIP() << "strace traces the native build only";
#else
    const std::string strace = find_in_path("strace");
    if (strace.empty()) GTEST_SKIP() << "strace is not installed";
    const LeakScanOff traced;  // LeakSanitizer's scan cannot trace a traced process
    if (test::run_program({strace, "-o", "/dev/null", "/bin/true"}, root_).status != 0) {
        GTEST_SKIP() << "strace cannot trace processes here";
    }
    constexpr std::int64_t kBlocks = 40;  // more than the first read of the input brings
    const ChannelFields long1 = first(1, kBlocks * kBlock);
    const ChannelFields short2 = second(kBlocks + 1, kBlock);
    const fs::path input = work_ / "in.wfm";
    Waveform{long1, short2, kBlocks + 1}.save(input);
    const std::string path = input.string();

    const ProgramResult got = test::run_program({strace, "-o", "/dev/null", "-P", path, "-e", "trace=read", "-e",
                                                 "inject=read:error=EIO:when=2", WFCONV_EXE, path},
                                                root_);
    EXPECT_TRUE(got.exited);
    EXPECT_EQ(got.status, 2);
    EXPECT_EQ(got.out, report(long1, short2) + converting(path, 1) + "Cannot read " + path + "\r\n");
    const std::string kept = read_file(channel_path(input, 1));
    const std::string whole = channel_text(long1, samples_from(1, kBlocks * kSamples));
    EXPECT_EQ(kept.size() % 13, 0U);
    EXPECT_LT(kept.size(), whole.size());
    EXPECT_EQ(whole.compare(0, kept.size(), kept), 0) << "the lines kept are not the input's first samples";
    EXPECT_FALSE(fs::exists(channel_path(input, 2)));
#endif
}

// Under valgrind a whole run and a cut one free all memory and close every
// descriptor they opened (the program linked dynamically, where it is a static PIE).
TEST_F(Faults, ValgrindFindsNoLeak) {
#if defined(_WIN32) || defined(WFCONV_CROSS_BUILD)
    GTEST_SKIP() << "valgrind checks the native build only: cross builds are static, or emulated";
#else
#ifdef WFCONV_SANITIZED
    GTEST_SKIP() << "valgrind cannot run a sanitizer build; LeakSanitizer covers it";
#endif
    const std::string valgrind = find_in_path("valgrind");
    if (valgrind.empty()) GTEST_SKIP() << "valgrind is not installed";
    const std::vector<std::uint8_t> whole = layout_bytes();
    for (const std::size_t size : {whole.size(), std::size_t{5 * kBlock + 101}}) {
        SCOPED_TRACE("input of " + std::to_string(size) + " bytes");
        const fs::path input = work_ / "in.wfm";
        write_file(input, std::span(whole).first(size));
        const fs::path log = work_ / "valgrind.log";
        const ProgramResult got = test::run_program(
            {valgrind, "--error-exitcode=99", "--leak-check=full", "--errors-for-leak-kinds=all", "--track-fds=yes",
             "--log-file=" + log.string(), WFCONV_LEAK_CHECK_EXE, input.string()},
            root_);
        EXPECT_EQ(got.status, size == whole.size() ? 0 : 3);
        const std::string found = read_file(log);
        EXPECT_NE(found.find("ERROR SUMMARY: 0 errors"), std::string::npos) << found;
        EXPECT_NE(found.find("All heap blocks were freed"), std::string::npos) << found;
        EXPECT_TRUE(only_inherited_descriptors(found)) << found;
    }
#endif
}

}  // namespace
}  // namespace wfconv
