// SPDX-License-Identifier: MIT
// Times wfconv against the plain stdio converter and against a bare copy of the
// same bytes, alternating them in every round, and checks that wfconv's files equal
// the plain converter's byte for byte. Three cases: the largest file, where the
// conversion itself counts; a one-block file and a batch of 2,000 small files run
// through `xargs -0 -n1 -P2`, where starting the program counts.
//
//   race WORK_DIR WFCONV BASELINE FLOOR_COPY [ROUNDS [SMALL_ROUNDS [BATCH_ROUNDS]]]
//
// WORK_DIR holds largest.wfm, one_block.wfm and batch/ (see make_waveform). ROUNDS 0
// leaves the largest file out. Every output file is removed, and the disk cache
// synced, before each timed run: truncating a large existing file costs more than
// writing a fresh one.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Sample {
    double seconds = 0;
    double cpu_seconds = 0;  // user and system time of the child and what it started
    long peak_kib = 0;       // the child's peak resident memory
};

struct Contestant {
    std::string name;
    std::vector<std::string> argv;
    std::string input_list;  // standard input of the run, when not empty
    std::vector<Sample> samples;
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "race: %s\n", message.c_str());
    std::exit(2);
}

// argv[0] is looked up on PATH when it holds no slash (xargs).
Sample run_once(const std::vector<std::string>& args, const std::string& input_list = {}) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) fail("fork failed");
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        if (!input_list.empty()) {
            const int list = open(input_list.c_str(), O_RDONLY);
            if (list < 0) _exit(127);
            dup2(list, STDIN_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) fail("wait4 failed");
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) fail(args[0] + " did not succeed");
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec); };
    return {std::chrono::duration<double>(end - start).count(), seconds(usage.ru_utime) + seconds(usage.ru_stime),
            usage.ru_maxrss};
}

using Inputs = std::vector<std::string>;

constexpr const char* kChannelSuffixes[] = {"1.txt", "2.txt"};

void remove_outputs(const Inputs& inputs) {
    for (const std::string& input : inputs) {
        for (const char* channel : kChannelSuffixes) std::remove((input + channel).c_str());
    }
    sync();
}

bool same_bytes(const std::string& a, const std::string& b) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> fa(std::fopen(a.c_str(), "rb"), &std::fclose);
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> fb(std::fopen(b.c_str(), "rb"), &std::fclose);
    if (!fa || !fb) return false;
    std::vector<char> ba(1 << 20);
    std::vector<char> bb(1 << 20);
    for (;;) {
        const std::size_t na = std::fread(ba.data(), 1, ba.size(), fa.get());
        const std::size_t nb = std::fread(bb.data(), 1, bb.size(), fb.get());
        if (na != nb || !std::equal(ba.begin(), ba.begin() + static_cast<std::ptrdiff_t>(na), bb.begin())) return false;
        if (na == 0) return true;
    }
}

// The reference copy of an input's channel file: INPUT.reference1.txt.
std::string reference(const std::string& input, const char* channel) { return input + ".reference" + channel; }

// Runs the baseline once, untimed, and keeps its files as the reference copies.
void make_reference(const Inputs& inputs, const Contestant& baseline) {
    remove_outputs(inputs);
    run_once(baseline.argv, baseline.input_list);
    for (const std::string& input : inputs) {
        for (const char* channel : kChannelSuffixes) {
            if (std::rename((input + channel).c_str(), reference(input, channel).c_str()) != 0) {
                fail("cannot keep reference");
            }
        }
    }
}

bool matches_reference(const Inputs& inputs) {
    return std::all_of(inputs.begin(), inputs.end(), [](const std::string& input) {
        return same_bytes(input + "1.txt", reference(input, "1.txt")) &&
               same_bytes(input + "2.txt", reference(input, "2.txt"));
    });
}

void remove_references(const Inputs& inputs) {
    for (const std::string& input : inputs) {
        for (const char* channel : kChannelSuffixes) std::remove(reference(input, channel).c_str());
    }
}

double median(const std::vector<Sample>& samples, double Sample::*field = &Sample::seconds) {
    std::vector<double> values;
    for (const Sample& s : samples) values.push_back(s.*field);
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long peak_kib(const std::vector<Sample>& samples) {
    long peak = 0;
    for (const Sample& s : samples) peak = std::max(peak, s.peak_kib);
    return peak;
}

// Rounds of every contestant once, the order rotating from round to round. The
// contestant named "wfconv" has its files checked after every run against the
// baseline's, which is field[1].
bool race(std::vector<Contestant>& field, int rounds, const Inputs& inputs) {
    make_reference(inputs, field[1]);
    bool identical = true;
    for (Contestant& c : field) {  // untimed: warms the disk cache and the program files
        remove_outputs(inputs);
        run_once(c.argv, c.input_list);
    }
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < field.size(); ++i) {
            Contestant& c = field[(i + static_cast<std::size_t>(round)) % field.size()];
            remove_outputs(inputs);
            c.samples.push_back(run_once(c.argv, c.input_list));
            if (c.name == "wfconv" && !matches_reference(inputs)) identical = false;
        }
    }
    remove_outputs(inputs);
    remove_references(inputs);
    return identical;
}

// The batch's inputs in name order, and the same list NUL-separated for xargs -0.
Inputs list_batch(const std::string& dir, const std::string& list_path) {
    Inputs inputs;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".wfm") inputs.push_back(entry.path().string());
    }
    std::sort(inputs.begin(), inputs.end());
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> list(std::fopen(list_path.c_str(), "wb"), &std::fclose);
    if (!list) fail("cannot write " + list_path);
    for (const std::string& input : inputs) std::fwrite(input.c_str(), 1, input.size() + 1, list.get());
    return inputs;
}

double least(const std::vector<Sample>& samples) {
    double least = samples.front().seconds;
    for (const Sample& s : samples) least = std::min(least, s.seconds);
    return least;
}

void print_field(const std::vector<Contestant>& field, double unit, const char* unit_name) {
    std::printf("  %-10s %12s %12s %14s %14s\n", "program", (std::string("median ") + unit_name).c_str(),
                (std::string("min ") + unit_name).c_str(), (std::string("median CPU ") + unit_name).c_str(),
                "peak RSS MiB");
    for (const Contestant& c : field) {
        std::printf("  %-10s %12.4f %12.4f %14.4f %14.2f\n", c.name.c_str(), median(c.samples) * unit,
                    least(c.samples) * unit, median(c.samples, &Sample::cpu_seconds) * unit,
                    static_cast<double>(peak_kib(c.samples)) / 1024.0);
    }
}

// The median wall time decides; the minimum and the CPU time show whether other load
// on the machine blurred it.
void print_ratio(const std::vector<Contestant>& field) {
    std::printf("  wfconv / baseline = %.3f  (min: %.3f, CPU time: %.3f)\n",
                median(field[0].samples) / median(field[1].samples), least(field[0].samples) / least(field[1].samples),
                median(field[0].samples, &Sample::cpu_seconds) / median(field[1].samples, &Sample::cpu_seconds));
}

double load_average() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: race WORK_DIR WFCONV BASELINE FLOOR_COPY [ROUNDS [SMALL_ROUNDS [BATCH_ROUNDS]]]\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    const std::string wfconv = argv[2];
    const std::string baseline = argv[3];
    const std::string floor_copy = argv[4];
    const int rounds = argc > 5 ? std::atoi(argv[5]) : 7;
    const int small_rounds = argc > 6 ? std::atoi(argv[6]) : 101;
    const int batch_rounds = argc > 7 ? std::atoi(argv[7]) : 11;
    const double load_before = load_average();
    bool identical = true;

    if (rounds > 0) {
        const std::string largest = dir + "/largest.wfm";
        std::vector<Contestant> big = {
            {"wfconv", {wfconv, largest}, {}, {}},
            {"baseline", {baseline, largest}, {}, {}},
            {"floor", {floor_copy, largest}, {}, {}},
        };
        identical = race(big, rounds, {largest}) && identical;
        std::printf("Largest file: 2 x 65,535 blocks, 16,776,960 lines, 218,100,480 bytes of text; %d runs each\n",
                    rounds);
        print_field(big, 1.0, "s");
        const double w = median(big[0].samples);
        std::printf("  wfconv / baseline = %.4f  (%.1fx faster)\n", w / median(big[1].samples),
                    median(big[1].samples) / w);
        std::printf("  wfconv / floor    = %.3f\n", w / median(big[2].samples));
    }

    const std::string small = dir + "/one_block.wfm";
    std::vector<Contestant> tiny = {
        {"wfconv", {wfconv, small}, {}, {}},
        {"baseline", {baseline, small}, {}, {}},
    };
    identical = race(tiny, small_rounds, {small}) && identical;
    std::printf("One-block file: 2 x 1 block, 256 lines; %d runs each\n", small_rounds);
    print_field(tiny, 1000.0, "ms");
    print_ratio(tiny);

    // Two at a time, as the README converts many files.
    const std::string list = dir + "/batch.list";
    const Inputs batch = list_batch(dir + "/batch", list);
    const std::vector<std::string> xargs = {"xargs", "-0", "-n1", "-P2"};
    std::vector<Contestant> many = {
        {"wfconv", xargs, list, {}}, {"baseline", xargs, list, {}}, {"floor", xargs, list, {}}};
    many[0].argv.push_back(wfconv);
    many[1].argv.push_back(baseline);
    many[2].argv.push_back(floor_copy);
    identical = race(many, batch_rounds, batch) && identical;
    std::remove(list.c_str());
    std::printf("Batch: %zu files of 20 blocks (2 x 9 converted), xargs -0 -n1 -P2; %d runs each\n", batch.size(),
                batch_rounds);
    print_field(many, 1.0, "s");
    print_ratio(many);
    std::printf("  wfconv / floor    = %.3f\n", median(many[0].samples) / median(many[2].samples));

    std::printf("wfconv's files byte-identical to the baseline's: %s\n", identical ? "yes" : "NO");
    std::printf("Load average (1 min): %.2f before, %.2f after\n", load_before, load_average());
    return identical ? 0 : 1;
}
