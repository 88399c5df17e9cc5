// SPDX-License-Identifier: MIT
#include "text/line_cache.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "reader/sample_math.hpp"
#include "reference.hpp"
#include "text/number_text.hpp"

namespace wfconv {
namespace {

// The text that the cache gives for raw values stored big-endian, a block's worth
// (or fewer) at a time.
std::string cached_lines(LineCache& cache, const std::vector<std::uint16_t>& raws) {
    std::string text;
    for (std::size_t first = 0; first < raws.size(); first += 128) {
        const std::size_t count = std::min<std::size_t>(128, raws.size() - first);
        std::vector<std::uint8_t> bytes;
        for (std::size_t k = 0; k < count; ++k) {
            bytes.push_back(static_cast<std::uint8_t>(raws[first + k] >> 8U));
            bytes.push_back(static_cast<std::uint8_t>(raws[first + k]));
        }
        std::vector<char> out(count * kChannelLineSize + LineCache::kOverrun);
        cache.write_lines(bytes, out.data());
        text.append(out.data(), count * kChannelLineSize);
    }
    return text;
}

// The cache hands out exactly the line that would be made afresh, the first time
// and every later time, for every raw value, under scalings that reach every decimal
// exponent and every non-finite text; one cache serves the scalings in turn, as it
// serves the channels of a run.
TEST(LineCache, GivesTheLineMadeAfresh) {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<std::pair<float, float>> scalings = {
        {0.0003125F, -0.0125F}, {1.0F, 0.0F}, {-1.0F, -0.0F}, {inf, 0.0F}, {1e38F, 1e38F},
        {1.0F, test::float_from_bits(0xFFC00001U)}, {test::float_from_bits(0x7FC00000U), 0.0F},
    };
    for (int exponent = -45; exponent <= 34; exponent += 4) {  // raw values span five decades
        scalings.emplace_back(std::strtof(("1e" + std::to_string(exponent)).c_str(), nullptr), 0.0F);
    }
    std::vector<std::uint16_t> raws(65536);
    for (std::uint32_t i = 0; i < raws.size(); ++i) raws[i] = static_cast<std::uint16_t>(i * 40503U);  // odd step: all
    LineCache cache;
    for (const auto& [scale, offset] : scalings) {
        ASSERT_TRUE(cache.reset(scale, offset));
        std::string fresh;
        for (const std::uint16_t raw : raws) fresh += channel_line(scale_sample(static_cast<std::int16_t>(raw), scale, offset)).view();
        for (int pass = 0; pass < 2; ++pass) EXPECT_TRUE(cached_lines(cache, raws) == fresh) << "scale " << scale << ", pass " << pass;
    }
}

// A cache reset far more often than a run's two channels still forgets every
// earlier channel's lines: channel 0 makes lines for raw values 1 to 600, and
// channel c (offset c) meets raw value c for the first time since then.
TEST(LineCache, ForgetsOnEveryReset) {
    constexpr int kChannels = 600;
    LineCache cache;
    ASSERT_TRUE(cache.reset(1.0F, 0.0F));
    std::vector<std::uint16_t> first(kChannels);
    for (int raw = 1; raw <= kChannels; ++raw) first[static_cast<std::size_t>(raw - 1)] = static_cast<std::uint16_t>(raw);
    cached_lines(cache, first);
    int wrong = 0;
    for (int channel = 1; channel <= kChannels; ++channel) {
        const auto offset = static_cast<float>(channel);
        ASSERT_TRUE(cache.reset(1.0F, offset));
        const std::string got = cached_lines(cache, {static_cast<std::uint16_t>(channel)});
        if (got != channel_line(static_cast<float>(channel) + offset).view()) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace wfconv
