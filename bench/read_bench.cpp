// SPDX-License-Identifier: MIT
// Times the library's read_waveform on one file, from its path and from its bytes in
// memory, against the inexact plain reading (the whole file read at once, each sample
// converted to float and scaled in float arithmetic, ignoring the block walk), in
// alternating rounds; and reports the peak memory of the first read beyond its two
// channels.
//
//   read_bench FILE [ROUNDS]      (FILE: largest.wfm from make_waveform)

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "wfconv/wfconv.hpp"

namespace {

// Header and both channels of 65,535 blocks.
constexpr std::size_t kLargestFileBytes = (1 + 2 * 65535) * wfconv::kBlockSize;

// A field of /proc/self/status in KiB: VmRSS the resident memory now, VmHWM its peak.
long status_kib(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    }
    std::fprintf(stderr, "read_bench: no %s in /proc/self/status\n", field.c_str());
    std::exit(2);
}

// Starts VmHWM over from the memory resident now.
void reset_peak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double seconds_of(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::size_t float_bytes(const wfconv::Waveform& waveform) {
    return (waveform.channel1.capacity() + waveform.channel2.capacity()) * sizeof(float);
}

void check(const wfconv::ReadResult& result, const char* path) {
    if (result.outcome != wfconv::ReadOutcome::complete) {
        std::fprintf(stderr, "read_bench: %s did not read completely\n", path);
        std::exit(2);
    }
}

// What a quick script does: every sample after the header, float arithmetic. Its
// values differ from the exact ones in the double-rounding cases.
std::vector<float> plain_read(const char* path, float scale, float offset) {
    std::FILE* file = std::fopen(path, "rb");
    std::vector<std::uint8_t> bytes(kLargestFileBytes);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    std::vector<float> values((bytes.size() - wfconv::kBlockSize) / 2);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::uint8_t* sample = &bytes[wfconv::kBlockSize + 2 * i];
        const auto raw = std::bit_cast<std::int16_t>(static_cast<std::uint16_t>((sample[0] << 8U) | sample[1]));
        values[i] = static_cast<float>(raw) * scale + offset;
    }
    return values;
}

void print(const char* name, std::vector<double> times, double reference) {
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-22s median %7.2f ms  min %7.2f ms  %5.2fx the plain reading\n", name, median * 1e3,
                times.front() * 1e3, median / reference);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: read_bench FILE [ROUNDS]\n");
        return 2;
    }
    const char* path = argv[1];
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 11;

    // First, before anything else grows the process: the peak of one read from the path.
    reset_peak();
    const long before_kib = status_kib("VmRSS");
    std::size_t channels = 0;
    {
        const wfconv::ReadResult result = wfconv::read_waveform(path);
        check(result, path);
        channels = float_bytes(result.waveform);
    }
    const double beyond_mib = (static_cast<double>(status_kib("VmHWM") - before_kib) * 1024.0 - static_cast<double>(channels)) /
                              (1024.0 * 1024.0);

    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const wfconv::WaveformHeader header = wfconv::read_waveform(bytes).waveform.header;

    std::vector<double> from_path;
    std::vector<double> from_memory;
    std::vector<double> plain;
    for (int round = 0; round < rounds; ++round) {
        from_path.push_back(seconds_of([&] { check(wfconv::read_waveform(path), path); }));
        from_memory.push_back(seconds_of([&] { check(wfconv::read_waveform(bytes), path); }));
        plain.push_back(seconds_of([&] { plain_read(path, header.channel1.scale, header.channel1.offset); }));
    }
    std::sort(plain.begin(), plain.end());
    const double reference = plain[plain.size() / 2];
    std::printf("%s, %d rounds\n", path, rounds);
    print("read_waveform(path)", from_path, reference);
    print("read_waveform(bytes)", from_memory, reference);
    print("plain float reading", plain, reference);
    std::printf("peak memory of read_waveform(path): the channels' %.1f MiB plus %.2f MiB\n",
                static_cast<double>(channels) / (1024.0 * 1024.0), beyond_mib);
    return 0;
}
