// SPDX-License-Identifier: MIT
// Every one of the 2^32 float bit patterns through the channel line formatter, and a
// large sample through the report's, each against glibc's printf. Labelled
// "exhaustive": the everyday test command leaves it out. Takes minutes on two cores.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "float_sweep.hpp"

namespace wfconv {
namespace {

unsigned worker_count() { return std::max(2U, std::thread::hardware_concurrency()); }

TEST(Exhaustive, EveryFloatChannelLine) {
    const auto start = std::chrono::steady_clock::now();
    const test::SweepResult result =
        test::sweep(test::channel_line_matches, 0, std::uint64_t{1} << 32, 1, worker_count());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("channel lines: %llu patterns checked, %llu differ, %.0f s\n",
                static_cast<unsigned long long>(result.checked), static_cast<unsigned long long>(result.mismatches),
                took.count());
    EXPECT_EQ(result.checked, std::uint64_t{1} << 32);
    EXPECT_EQ(result.mismatches, 0U) << test::describe(result);
}

// The report's texts, from std::to_chars: one pattern in 257 (a prime stride, so
// every exponent and significand bit varies), and every tie at seven digits with
// its neighbours.
TEST(Exhaustive, ReportTextsOnALargeSample) {
    constexpr std::uint64_t kStride = 257;
    const auto start = std::chrono::steady_clock::now();
    const test::SweepResult sampled =
        test::sweep(test::report_text_matches, 0, std::uint64_t{1} << 32, kStride, worker_count());
    const test::SweepResult ties = test::sweep_around(test::report_text_matches, test::exact_ties(7, 1), worker_count());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const std::uint64_t differ = sampled.mismatches + ties.mismatches;
    std::printf("report texts: %llu sampled and %llu around ties checked, %llu differ, %.0f s\n",
                static_cast<unsigned long long>(sampled.checked), static_cast<unsigned long long>(ties.checked),
                static_cast<unsigned long long>(differ), took.count());
    EXPECT_EQ(sampled.mismatches, 0U) << test::describe(sampled);
    EXPECT_EQ(ties.mismatches, 0U) << test::describe(ties);
    EXPECT_GT(ties.checked, 1'000'000U);
}

}  // namespace
}  // namespace wfconv
