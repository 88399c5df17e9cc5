// SPDX-License-Identifier: MIT
// Writes the fuzz target's seed corpus: small waveform files, one per kind of
// block walk and special value, so the fuzzer starts from inputs the converter
// reads deep into rather than from random bytes it rejects at once.
//
//   wfconv_fuzz_seeds OUTPUT_DIRECTORY

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "waveform_writer.hpp"

namespace {

using wfconv::writer::ChannelFields;
using wfconv::writer::WaveformBuilder;

constexpr std::uint32_t kOne = 0x3F800000U;  // 1.0F

// A ramp through the extremes, so every sample differs from its neighbours.
std::vector<std::int16_t> ramp(int step) {
    std::vector<std::int16_t> values;
    values.reserve(128);
    for (int k = 0; k < 128; ++k) values.push_back(static_cast<std::int16_t>(-32768 + k * step));
    return values;
}

std::vector<std::uint8_t> two_channels(ChannelFields first, ChannelFields second, int blocks) {
    WaveformBuilder file(first, second);
    for (int b = 0; b < blocks; ++b) file.samples(ramp(511 - b));
    return file.bytes();
}

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: wfconv_fuzz_seeds OUTPUT_DIRECTORY\n", stderr);
        return 1;
    }
    const std::filesystem::path directory = argv[1];
    std::filesystem::create_directories(directory);

    // scale 0.0003125, offset -2.5: an instrument's ordinary values.
    const ChannelFields volts1{2, 512, 0x39A3D70AU, 0};
    const ChannelFields volts2{5, 512, 0x39A3D70AU, 0xC0200000U};
    const std::vector<std::vector<std::uint8_t>> seeds = {
        two_channels(volts1, volts2, 6),                          // a gap before each channel
        cut(two_channels(volts1, volts2, 6), 256 * 3 + 101),      // cut inside channel 1
        cut(two_channels(volts1, volts2, 6), 256 * 6 + 37),       // cut inside channel 2
        two_channels({0, 767, kOne, 0}, {-3, 256, kOne, 0}, 3),   // part-block length, start behind
        two_channels({10, 100, kOne, 0}, {3, 256, kOne, 0}, 11),  // empty channel 1 still skips
        two_channels({1, 256, kOne, 0}, {1, 256, kOne, 0}, 0),    // data needed, header only
        two_channels({1, 255, kOne, 0}, {7, 0, kOne, 0}, 0),      // no data needed at all
        two_channels({32767, 0, kOne, 0}, {-32768, 512, kOne, 0}, 2),
        two_channels({1, 70 * 256, kOne, 0}, {71, 256, kOne, 0}, 72),  // text for more than one 64 KiB write
        two_channels({1, 256 * 256, 0x39A3D70AU, 0xC0200000U}, {257, 256 * 256, kOne, 0}, 512),  // both cached
        // Special floats: infinities, quiet and signalling NaNs, subnormals, largest finite.
        two_channels({1, 256, 0x7F800000U, 0xFF800000U}, {2, 256, 0x7FC00000U, 0xFFA00001U}, 2),
        two_channels({1, 256, 0x7F7FFFFFU, 0x7F7FFFFFU}, {2, 256, 0x00000001U, 0x80000000U}, 2),
        two_channels({1, 256, 0x2D51ECD5U, 0x3F8001A3U}, {2, 256, 0xFF800000U, 0x7F800000U}, 2),
        std::vector<std::uint8_t>(200, 0x41),                     // shorter than a header
    };
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const std::filesystem::path path = directory / ("seed-" + std::to_string(i) + ".wfm");
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr || std::fwrite(seeds[i].data(), 1, seeds[i].size(), out) != seeds[i].size() ||
            std::fclose(out) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
