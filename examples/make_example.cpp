// SPDX-License-Identifier: MIT
// Writes the bundled example: a 50 Hz sine on channel 1 and a 400 Hz square wave
// on channel 2, both sampled at 12.8 kHz, 2,048 samples each, with an unused
// block after the header and a two-block gap before channel 2's data.
//
//   make_example OUTPUT_PATH

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

#include "waveform_writer.hpp"

namespace {

constexpr double kSampleRate = 12800.0;
constexpr int kBlocksPerChannel = 16;
constexpr int kSamplesPerChannel = kBlocksPerChannel * 128;

// A 16-bit converter over +-10.24 V: 0.3125 mV a count.
constexpr float kVoltsPerCount = 0.0003125F;

// Small, repeatable noise so that the traces look measured, not drawn.
struct Noise {
    std::uint32_t state = 12345;
    int next(int amplitude) {
        state = state * 1664525U + 1013904223U;
        return static_cast<int>((state >> 16U) % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
    }
};

std::vector<std::int16_t> sine(Noise& noise) {
    std::vector<std::int16_t> values;
    for (int i = 0; i < kSamplesPerChannel; ++i) {
        const double volts = 2.5 * std::sin(2.0 * std::numbers::pi * 50.0 * i / kSampleRate);
        values.push_back(static_cast<std::int16_t>(std::lround(volts / kVoltsPerCount) + noise.next(6)));
    }
    return values;
}

// A 0..5 V logic signal, read through a channel whose offset removes 2.5 V.
std::vector<std::int16_t> square(Noise& noise) {
    std::vector<std::int16_t> values;
    const int half_period = static_cast<int>(kSampleRate / 400.0 / 2.0);
    for (int i = 0; i < kSamplesPerChannel; ++i) {
        const bool high = (i / half_period) % 2 == 0;
        values.push_back(static_cast<std::int16_t>((high ? 16000 : 0) + noise.next(20)));
    }
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_example OUTPUT_PATH\n", stderr);
        return 1;
    }
    using namespace wfconv::writer;
    constexpr std::uint32_t kBytes = kBlocksPerChannel * 256;
    WaveformBuilder file(channel(2, kBytes, kVoltsPerCount, 0.0F), channel(20, kBytes, kVoltsPerCount, -2.5F));
    Noise noise;
    const std::vector<std::int16_t> ch1 = sine(noise);
    const std::vector<std::int16_t> ch2 = square(noise);
    file.constant_block(0);  // block 1: not part of either channel
    for (int b = 0; b < kBlocksPerChannel; ++b) file.samples(std::span(ch1).subspan(static_cast<std::size_t>(b) * 128, 128));
    file.constant_block(0, 2);  // blocks 18 and 19: the gap
    for (int b = 0; b < kBlocksPerChannel; ++b) file.samples(std::span(ch2).subspan(static_cast<std::size_t>(b) * 128, 128));
    file.save(argv[1]);
    return 0;
}
