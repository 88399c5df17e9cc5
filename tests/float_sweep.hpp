// SPDX-License-Identifier: MIT
#pragma once

// Holds the converter's number texts to the printf reference over runs of float bit
// patterns, split across threads. The exhaustive test walks every pattern with it;
// the everyday tests walk a sample.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "reference.hpp"
#include "text/number_text.hpp"

namespace wfconv::test {

struct SweepResult {
    std::uint64_t checked = 0;
    std::uint64_t mismatches = 0;
    std::vector<std::uint32_t> first_bad;  // a few of the patterns that differ, for the report
};

// One check of one bit pattern: true when the texts agree.
using PatternCheck = std::function<bool(std::uint32_t bits)>;

// The exhaustive test spends nearly all its time here, in printf: finite values are
// printed straight into a buffer, which saves a tenth of it.
inline bool channel_line_matches(std::uint32_t bits) {
    const float value = float_from_bits(bits);
    if (!std::isfinite(value)) return channel_line(value).view() == reference_sci(value, 11, 4) + "\r\n";
    char want[32];
    std::snprintf(want, sizeof want, "%11.4e\r\n", static_cast<double>(value));
    return std::memcmp(channel_line(value).text.data(), want, kChannelLineSize) == 0;
}

// The report's "%e": the float widened to double, no width, precision 6.
inline bool report_text_matches(std::uint32_t bits) {
    const double value = float_from_bits(bits);
    return format_sci(value, 0, 6) == reference_sci(value, 0, 6);
}

// Checks pattern(0) .. pattern(count - 1) on `threads` threads.
inline SweepResult sweep_indexed(const PatternCheck& check, std::uint64_t count,
                                 const std::function<std::uint32_t(std::uint64_t)>& pattern, unsigned threads) {
    constexpr std::size_t kReported = 8;
    SweepResult total;
    std::mutex lock;
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            SweepResult mine;
            // Interleaved slices of 2^16 patterns keep the threads' loads even: the
            // reference is slower on some exponents than on others.
            constexpr std::uint64_t kSlice = std::uint64_t{1} << 16;
            for (std::uint64_t slice = t * kSlice; slice < count; slice += threads * kSlice) {
                for (std::uint64_t i = slice; i < std::min(count, slice + kSlice); ++i) {
                    const std::uint32_t bits = pattern(i);
                    ++mine.checked;
                    if (!check(bits) && ++mine.mismatches <= kReported) mine.first_bad.push_back(bits);
                }
            }
            const std::lock_guard guard(lock);
            total.checked += mine.checked;
            total.mismatches += mine.mismatches;
            for (const std::uint32_t bits : mine.first_bad) {
                if (total.first_bad.size() < kReported) total.first_bad.push_back(bits);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    return total;
}

// The patterns first, first + stride, ... below end.
inline SweepResult sweep(const PatternCheck& check, std::uint64_t first, std::uint64_t end, std::uint64_t stride,
                         unsigned threads) {
    const std::uint64_t count = end > first ? (end - first + stride - 1) / stride : 0;
    return sweep_indexed(
        check, count, [=](std::uint64_t i) { return static_cast<std::uint32_t>(first + i * stride); }, threads);
}

// Each listed pattern and its two neighbours (the magnitudes one below and above).
inline SweepResult sweep_around(const PatternCheck& check, const std::vector<std::uint32_t>& patterns,
                                unsigned threads) {
    return sweep_indexed(
        check, 3 * patterns.size(),
        [&](std::uint64_t i) { return static_cast<std::uint32_t>(patterns[static_cast<std::size_t>(i / 3)] + (i % 3) - 1); }, threads);
}

// The listed patterns.
inline SweepResult sweep_list(const PatternCheck& check, const std::vector<std::uint32_t>& patterns) {
    return sweep_indexed(check, patterns.size(), [&](std::uint64_t i) { return patterns[static_cast<std::size_t>(i)]; }, 1);
}

inline std::string describe(const SweepResult& result) {
    std::string text = std::to_string(result.mismatches) + " of " + std::to_string(result.checked) + " differ";
    char hex[16];
    for (const std::uint32_t bits : result.first_bad) {
        std::snprintf(hex, sizeof hex, " %08X", bits);
        text += hex;
    }
    return text;
}

// Every float that lies exactly halfway between two texts of `digits` significant
// digits, of both signs: the value is (2a + 1) * 5 * 10^(k - digits) for a number
// a of digits digits, i.e. the odd number (2a + 1) * 5^(k - digits + 1) times
// 2^(k - digits), which is a float when that odd number (after dividing out the fives
// when k is small) is below 2^24. Found without the converter's own arithmetic.
inline std::vector<std::uint32_t> exact_ties(int digits, std::uint64_t stride) {
    constexpr std::uint64_t kSignificandEnd = std::uint64_t{1} << 24;
    std::uint64_t low = 1;
    for (int i = 1; i < digits; ++i) low *= 10;
    std::vector<std::uint32_t> ties;
    for (int k = -45; k <= 38; ++k) {
        const int fives = k - digits + 1;  // power of five in the value; negative: must divide out
        std::uint64_t divisor = 1;
        for (int i = fives; i < 0 && divisor < kSignificandEnd; ++i) divisor *= 5;
        std::uint64_t multiplier = 1;
        for (int i = 0; i < fives && multiplier < kSignificandEnd; ++i) multiplier *= 5;
        if (divisor > 20 * low || (2 * low + 1) * multiplier >= kSignificandEnd) continue;  // no tie is a float
        for (std::uint64_t a = low; a < 10 * low; a += stride) {
            const std::uint64_t odd = 2 * a + 1;
            if (odd % divisor != 0) continue;
            const std::uint64_t significand = odd / divisor * multiplier;
            if (significand >= kSignificandEnd) continue;
            const auto value = static_cast<float>(std::ldexp(static_cast<double>(significand), k - digits));
            ties.push_back(bits_of(value));
            ties.push_back(bits_of(-value));
        }
    }
    return ties;
}

}  // namespace wfconv::test
