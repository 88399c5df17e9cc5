// Times wfconv against the plain stdio converter and against a bare copy of the
// same bytes, alternating the three in every round, and checks that wfconv's files
// equal the plain converter's byte for byte.
//
//   race WORK_DIR WFCONV BASELINE FLOOR_COPY [ROUNDS [SMALL_ROUNDS]]
//
// WORK_DIR holds largest.wfm and one_block.wfm (see make_waveform). Every output
// file is removed, and the disk cache synced, before each timed run: truncating a
// large existing file costs more than writing a fresh one.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Sample {
    double seconds = 0;
    long peak_kib = 0;  // the child's peak resident memory
};

struct Contestant {
    std::string name;
    std::vector<std::string> argv;
    std::vector<Sample> samples;
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "race: %s\n", message.c_str());
    std::exit(2);
}

Sample run_once(const std::vector<std::string>& args) {
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
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) fail("wait4 failed");
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) fail(args[0] + " did not succeed");
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

void remove_outputs(const std::string& input) {
    std::remove((input + "1.txt").c_str());
    std::remove((input + "2.txt").c_str());
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

// Runs the baseline once, untimed, and keeps its files as the reference copies.
void make_reference(const std::string& input, const std::string& baseline, const std::string& reference) {
    remove_outputs(input);
    run_once({baseline, input});
    for (const char* channel : {"1.txt", "2.txt"}) {
        if (std::rename((input + channel).c_str(), (reference + channel).c_str()) != 0) fail("cannot keep reference");
    }
}

bool matches_reference(const std::string& input, const std::string& reference) {
    return same_bytes(input + "1.txt", reference + "1.txt") && same_bytes(input + "2.txt", reference + "2.txt");
}

double median(std::vector<Sample> samples) {
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.seconds < b.seconds; });
    const std::size_t n = samples.size();
    return n % 2 == 1 ? samples[n / 2].seconds : (samples[n / 2 - 1].seconds + samples[n / 2].seconds) / 2;
}

long peak_kib(const std::vector<Sample>& samples) {
    long peak = 0;
    for (const Sample& s : samples) peak = std::max(peak, s.peak_kib);
    return peak;
}

// Rounds of every contestant once, the order rotating from round to round. The
// contestant named "wfconv" has its files checked after every run.
bool race(std::vector<Contestant>& field, int rounds, const std::string& input, const std::string& reference) {
    bool identical = true;
    for (Contestant& c : field) {  // untimed: warms the disk cache and the program files
        remove_outputs(input);
        run_once(c.argv);
    }
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < field.size(); ++i) {
            Contestant& c = field[(i + static_cast<std::size_t>(round)) % field.size()];
            remove_outputs(input);
            c.samples.push_back(run_once(c.argv));
            if (c.name == "wfconv" && !matches_reference(input, reference)) identical = false;
        }
    }
    remove_outputs(input);
    return identical;
}

void print_field(const std::vector<Contestant>& field, double unit, const char* unit_name) {
    std::printf("  %-10s %12s %12s %14s\n", "program", (std::string("median ") + unit_name).c_str(),
                (std::string("min ") + unit_name).c_str(), "peak RSS MiB");
    for (const Contestant& c : field) {
        double least = c.samples.front().seconds;
        for (const Sample& s : c.samples) least = std::min(least, s.seconds);
        std::printf("  %-10s %12.4f %12.4f %14.2f\n", c.name.c_str(), median(c.samples) * unit, least * unit,
                    static_cast<double>(peak_kib(c.samples)) / 1024.0);
    }
}

double load_average() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: race WORK_DIR WFCONV BASELINE FLOOR_COPY [ROUNDS [SMALL_ROUNDS]]\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    const std::string wfconv = argv[2];
    const std::string baseline = argv[3];
    const std::string floor_copy = argv[4];
    const int rounds = argc > 5 ? std::atoi(argv[5]) : 7;
    const int small_rounds = argc > 6 ? std::atoi(argv[6]) : 101;
    const double load_before = load_average();

    const std::string largest = dir + "/largest.wfm";
    const std::string largest_ref = dir + "/largest.reference";
    make_reference(largest, baseline, largest_ref);
    std::vector<Contestant> big = {
        {"wfconv", {wfconv, largest}, {}},
        {"baseline", {baseline, largest}, {}},
        {"floor", {floor_copy, largest_ref + "1.txt", largest + "1.txt", largest_ref + "2.txt", largest + "2.txt"}, {}},
    };
    const bool big_identical = race(big, rounds, largest, largest_ref);

    const std::string small = dir + "/one_block.wfm";
    const std::string small_ref = dir + "/one_block.reference";
    make_reference(small, baseline, small_ref);
    std::vector<Contestant> tiny = {
        {"wfconv", {wfconv, small}, {}},
        {"baseline", {baseline, small}, {}},
    };
    const bool small_identical = race(tiny, small_rounds, small, small_ref);
    for (const std::string& ref : {largest_ref, small_ref}) {
        std::remove((ref + "1.txt").c_str());
        std::remove((ref + "2.txt").c_str());
    }

    std::printf("Largest file: 2 x 65,535 blocks, 16,776,960 lines, 218,100,480 bytes of text; %d runs each\n", rounds);
    print_field(big, 1.0, "s");
    const double w = median(big[0].samples);
    std::printf("  wfconv / baseline = %.4f  (%.1fx faster)\n", w / median(big[1].samples), median(big[1].samples) / w);
    std::printf("  wfconv / floor    = %.3f\n", w / median(big[2].samples));
    std::printf("One-block file: 2 x 1 block, 256 lines; %d runs each\n", small_rounds);
    print_field(tiny, 1000.0, "ms");
    std::printf("  wfconv / baseline = %.3f\n", median(tiny[0].samples) / median(tiny[1].samples));
    std::printf("wfconv's files byte-identical to the baseline's: %s\n", big_identical && small_identical ? "yes" : "NO");
    std::printf("Load average (1 min): %.2f before, %.2f after\n", load_before, load_average());
    return big_identical && small_identical ? 0 : 1;
}
