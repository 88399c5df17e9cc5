// SPDX-License-Identifier: MIT
// Writes waveform files whose conversion leans on every part of the arithmetic and
// the block walk: random and special scales and offsets, offsets that nearly cancel
// a product, products halfway between two floats nudged by a hair, and files cut
// short. A cross build's program must turn them into the native program's bytes.
//
//   make_random_waveforms OUTPUT_DIRECTORY COUNT

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "waveform_writer.hpp"

namespace {

using wfconv::writer::ChannelFields;

class Picker {
public:
    explicit Picker(std::uint64_t seed) : rng_(seed) {}
    int uniform(int lo, int hi) { return lo + static_cast<int>(rng_() % static_cast<std::uint64_t>(hi - lo + 1)); }
    std::uint32_t bits(int n) { return n == 0 ? 0U : static_cast<std::uint32_t>(rng_() >> (64 - n)); }
    // Random sign and significand with the biased exponent field in [lo, hi].
    std::uint32_t finite(int lo, int hi) {
        return bits(1) << 31U | static_cast<std::uint32_t>(uniform(lo, hi)) << 23U | bits(23);
    }
    std::uint64_t odd_of_width(int n) { return n == 1 ? 1 : (std::uint64_t{1} << (n - 1)) | bits(n - 1) | 1U; }

private:
    std::mt19937_64 rng_;
};

float make_float(std::uint64_t significand, int exponent) {
    return static_cast<float>(std::ldexp(static_cast<double>(significand), exponent));
}

constexpr std::uint32_t kSpecial[] = {0x00000000U, 0x80000000U, 0x00000001U, 0x807FFFFFU, 0x7F800000U,
                                      0xFF800000U, 0x7FC00000U, 0xFFC00001U, 0x7F800001U, 0xFFA00000U,
                                      0x7F7FFFFFU, 0xFF7FFFFFU, 0x3F800000U};

struct Scaling {
    std::uint32_t scale;
    std::uint32_t offset;
    std::int16_t planted;  // a raw value the channel's data holds often, which the scaling aims at
};

Scaling pick_scaling(Picker& pick) {
    const auto planted = static_cast<std::int16_t>(pick.bits(16));
    switch (pick.uniform(0, 6)) {
        case 0: {  // any finite scale and offset of any size
            return {pick.finite(0, 254), pick.finite(0, 254), planted};
        }
        case 1: {  // an offset of the product's size
            const std::uint32_t scale = pick.finite(1, 254);
            const int e = std::ilogb(static_cast<double>(planted == 0 ? 1 : planted) * std::bit_cast<float>(scale));
            const float offset = make_float(pick.odd_of_width(pick.uniform(1, 24)), e + pick.uniform(-70, 30) - 23);
            return {scale, std::bit_cast<std::uint32_t>(pick.bits(1) != 0U ? -offset : offset), planted};
        }
        case 2: {  // an offset within a few units of cancelling the planted product
            const std::uint32_t scale = pick.finite(0, 254);
            float offset = -static_cast<float>(static_cast<double>(planted) * std::bit_cast<float>(scale));
            for (int k = pick.uniform(-3, 3); k != 0; k += k > 0 ? -1 : 1) {
                offset = std::nextafter(offset, k > 0 ? HUGE_VALF : -HUGE_VALF);
            }
            return {scale, std::bit_cast<std::uint32_t>(offset), planted};
        }
        case 3:
        case 6: {  // a product halfway between two floats, nudged near half a 64-bit unit (twice as often)
            for (;;) {
                const int raw_width = pick.uniform(2, 15);
                const std::uint64_t r = pick.odd_of_width(raw_width);
                const std::uint64_t m = pick.odd_of_width(25 - raw_width + pick.uniform(0, 1));
                if (std::bit_width(r * m) != 25) continue;
                const int top = pick.uniform(-50, 127);
                const int width = pick.uniform(1, 24);
                const float nudge = make_float(pick.odd_of_width(width), top - 64 + pick.uniform(-12, 14) - (width - 1));
                const auto raw = static_cast<std::int16_t>(pick.bits(1) != 0U ? -static_cast<int>(r) : static_cast<int>(r));
                return {std::bit_cast<std::uint32_t>(make_float(m, top - 24)),
                        std::bit_cast<std::uint32_t>(pick.bits(1) != 0U ? -nudge : nudge), raw};
            }
        }
        case 4: {  // a special scale or offset against ordinary ones
            const std::uint32_t special = kSpecial[pick.uniform(0, std::size(kSpecial) - 1)];
            return pick.bits(1) != 0U ? Scaling{special, pick.finite(100, 154), planted}
                                      : Scaling{pick.finite(100, 154), special, planted};
        }
        default: {  // two special values
            return {kSpecial[pick.uniform(0, std::size(kSpecial) - 1)], kSpecial[pick.uniform(0, std::size(kSpecial) - 1)],
                    planted};
        }
    }
}

// Raw samples of one block: random, a quarter of them the planted value or a neighbour.
std::vector<std::int16_t> block_of(Picker& pick, std::int16_t planted) {
    std::vector<std::int16_t> values;
    for (int k = 0; k < 128; ++k) {
        const int choice = pick.uniform(0, 11);
        values.push_back(choice == 0   ? static_cast<std::int16_t>(planted - 1)
                         : choice == 1 ? static_cast<std::int16_t>(planted + 1)
                         : choice <= 3 ? planted
                                       : static_cast<std::int16_t>(pick.bits(16)));
    }
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: make_random_waveforms OUTPUT_DIRECTORY COUNT\n", stderr);
        return 1;
    }
    const std::filesystem::path directory = argv[1];
    const int count = std::atoi(argv[2]);
    std::filesystem::create_directories(directory);
    Picker pick(20261208);
    for (int i = 0; i < count; ++i) {
        const Scaling first = pick_scaling(pick);
        const Scaling second = pick_scaling(pick);
        const int blocks1 = pick.uniform(1, 4);
        const int blocks2 = pick.uniform(1, 4);
        const auto start1 = static_cast<std::int16_t>(pick.uniform(1, 2));
        const auto start2 = static_cast<std::int16_t>(start1 + blocks1 + pick.uniform(0, 1));
        const ChannelFields channel1{start1, static_cast<std::uint32_t>(256 * blocks1 + pick.uniform(0, 255)),
                                     first.scale, first.offset};
        const ChannelFields channel2{start2, static_cast<std::uint32_t>(256 * blocks2 + pick.uniform(0, 255)),
                                     second.scale, second.offset};
        wfconv::writer::WaveformBuilder file(channel1, channel2);
        for (int b = 1; b < start2 + blocks2; ++b) file.samples(block_of(pick, b < start2 ? first.planted : second.planted));
        if (pick.uniform(0, 19) == 0) file.truncate(static_cast<std::size_t>(pick.uniform(0, static_cast<int>(file.bytes().size()))));
        char name[32];
        std::snprintf(name, sizeof name, "w%04d.wfm", i);
        file.save(directory / name);
    }
    return 0;
}
