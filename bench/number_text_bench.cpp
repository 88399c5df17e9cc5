// SPDX-License-Identifier: MIT
// Nanoseconds per value for a channel line's number text: the hand-written binary32
// formatter, format_sci (std::to_chars) at the same setting, and the C library's
// snprintf; then format_sci at the report's setting.

#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "reader/sample_math.hpp"
#include "text/number_text.hpp"

namespace {

// A power of two, so that cycling through the values is a mask.
constexpr std::size_t kValues = 4096;

std::uint32_t next_random(std::uint32_t& state) {
    state ^= state << 13U;
    state ^= state >> 17U;
    state ^= state << 5U;
    return state;
}

// Values as a channel makes them: random raw samples through a typical scaling.
std::vector<float> channel_values() {
    std::vector<float> values;
    std::uint32_t state = 1;
    for (std::size_t i = 0; i < kValues; ++i) {
        const auto raw = static_cast<std::int16_t>(next_random(state));
        values.push_back(wfconv::scale_sample(raw, 0.0003125F, -0.0125F));
    }
    return values;
}

// Finite floats of every exponent.
std::vector<float> any_values() {
    std::vector<float> values;
    std::uint32_t state = 7;
    while (values.size() < kValues) {
        const auto value = std::bit_cast<float>(next_random(state));
        if (std::isfinite(value)) values.push_back(value);
    }
    return values;
}

template <typename Format>
void run(benchmark::State& state, const std::vector<float>& values, Format format) {
    std::size_t i = 0;
    for (auto _ : state) {
        format(values[i & (kValues - 1)]);
        ++i;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void fast(benchmark::State& state, const std::vector<float>& values) {
    char line[wfconv::kChannelLineSize];
    run(state, values, [&](float v) {
        wfconv::write_channel_line(v, line);
        benchmark::DoNotOptimize(line);
    });
}

void general(benchmark::State& state, const std::vector<float>& values) {
    run(state, values, [](float v) { benchmark::DoNotOptimize(wfconv::format_sci(v, 11, 4)); });
}

// The header report's "%e": no width, precision 6.
void report(benchmark::State& state, const std::vector<float>& values) {
    run(state, values, [](float v) { benchmark::DoNotOptimize(wfconv::format_sci(v, 0, 6)); });
}

void stdio(benchmark::State& state, const std::vector<float>& values) {
    char line[32];
    run(state, values, [&](float v) {
        std::snprintf(line, sizeof line, "%11.4e\r\n", static_cast<double>(v));
        benchmark::DoNotOptimize(line);
    });
}

const std::vector<float> kChannel = channel_values();
const std::vector<float> kAny = any_values();

}  // namespace

BENCHMARK_CAPTURE(fast, channel_values, kChannel);
BENCHMARK_CAPTURE(general, channel_values, kChannel);
BENCHMARK_CAPTURE(stdio, channel_values, kChannel);
BENCHMARK_CAPTURE(report, channel_values, kChannel);
BENCHMARK_CAPTURE(fast, every_exponent, kAny);
BENCHMARK_CAPTURE(general, every_exponent, kAny);
BENCHMARK_CAPTURE(stdio, every_exponent, kAny);
BENCHMARK_CAPTURE(report, every_exponent, kAny);

BENCHMARK_MAIN();
