// SPDX-License-Identifier: MIT
// Writes the benchmark's inputs: the largest waveform file the format allows, a
// one-block file and a batch of small files, all with measured-looking signals and
// non-trivial scaling.
//
//   make_waveform OUTPUT_DIR      writes OUTPUT_DIR/largest.wfm, OUTPUT_DIR/one_block.wfm
//                                 and OUTPUT_DIR/batch/0000.wfm ... 1999.wfm

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "waveform_writer.hpp"

namespace {

// The byte length field is 24 bits wide: 16,777,215 bytes hold 65,535 whole blocks.
constexpr std::uint32_t kLargestLength = 0xFFFFFF;
constexpr std::size_t kLargestBlocks = kLargestLength / 256;

// The batch: many small files, each laid out like the bundled example (a header, a
// block passed over, then the two channels), where starting the program costs about
// as much as converting. Each file takes its own stretch of the signals.
constexpr int kBatchFiles = 2000;
constexpr std::size_t kBatchChannelBlocks = 9;  // 20 blocks in all: 1 + 1 + 9 + 9

// A 16-bit converter over +-10.24 V, read with a small gain and zero correction, so
// neither factor is a power of two or exactly representable.
constexpr float kScale1 = 0.0003125F;
constexpr float kOffset1 = -0.0125F;
constexpr float kScale2 = 1.52590219e-4F;  // 5 V over 32,767 counts
constexpr float kOffset2 = 2.5F;

// Repeatable noise, so the signal covers neighbouring raw values like a real one.
struct Noise {
    std::uint32_t state = 2463534242U;
    int next(int amplitude) {
        state ^= state << 13U;
        state ^= state >> 17U;
        state ^= state << 5U;
        return static_cast<int>(state % static_cast<std::uint32_t>(2 * amplitude + 1)) - amplitude;
    }
};

std::int16_t clamp16(double value) {
    return static_cast<std::int16_t>(std::lround(std::fmin(32767.0, std::fmax(-32768.0, value))));
}

// A sine that swings over almost the whole 16-bit range plus noise: channel 1 a
// steady tone, channel 2 a slowly rising tone with a smaller swing.
std::vector<std::int16_t> signal(int channel, Noise& noise) {
    std::vector<std::int16_t> values(kLargestBlocks * wfconv::writer::kSamples);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double t = static_cast<double>(i);
        const double phase = channel == 1 ? t / 997.0 : t * (1.0 + t / 2.0e7) / 1543.0;
        const double amplitude = channel == 1 ? 32000.0 : 21000.0;
        values[i] = clamp16(amplitude * std::sin(2.0 * std::numbers::pi * phase) + noise.next(40));
    }
    return values;
}

void add_blocks(wfconv::writer::WaveformBuilder& file, const std::vector<std::int16_t>& values, std::size_t blocks,
                std::size_t first = 0) {
    for (std::size_t b = first; b < first + blocks; ++b) {
        file.samples(std::span(values).subspan(b * wfconv::writer::kSamples, wfconv::writer::kSamples));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_waveform OUTPUT_DIR\n", stderr);
        return 1;
    }
    using namespace wfconv::writer;
    const std::string dir = argv[1];
    Noise noise;
    const std::vector<std::int16_t> ch1 = signal(1, noise);
    const std::vector<std::int16_t> ch2 = signal(2, noise);

    // Channel 2's start block lies inside channel 1's data, so it follows channel 1
    // directly: 1 + 2 * 65,535 blocks, every one of them converted.
    WaveformBuilder largest(channel(1, kLargestLength, kScale1, kOffset1), channel(2, kLargestLength, kScale2, kOffset2));
    add_blocks(largest, ch1, kLargestBlocks);
    add_blocks(largest, ch2, kLargestBlocks);
    largest.save(dir + "/largest.wfm");

    // One block per channel (511 bytes: the trailing part-block is not converted).
    constexpr std::uint32_t kOneBlock = 511;
    WaveformBuilder small(channel(1, kOneBlock, kScale1, kOffset1), channel(2, kOneBlock, kScale2, kOffset2));
    add_blocks(small, ch1, 1);
    add_blocks(small, ch2, 1);
    small.save(dir + "/one_block.wfm");

    std::filesystem::create_directories(dir + "/batch");
    constexpr std::uint32_t kBatchLength = kBatchChannelBlocks * kBlock;
    for (int i = 0; i < kBatchFiles; ++i) {
        WaveformBuilder file(channel(2, kBatchLength, kScale1, kOffset1),
                             channel(2 + kBatchChannelBlocks, kBatchLength, kScale2, kOffset2));
        file.constant_block(0);
        const std::size_t first = static_cast<std::size_t>(i) * kBatchChannelBlocks;
        add_blocks(file, ch1, kBatchChannelBlocks, first);
        add_blocks(file, ch2, kBatchChannelBlocks, first);
        std::array<char, 16> name{};
        std::snprintf(name.data(), name.size(), "%04d.wfm", i);
        file.save(dir + "/batch/" + name.data());
    }
    return 0;
}
