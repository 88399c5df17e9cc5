// SPDX-License-Identifier: MIT
#pragma once

// Builds waveform files in memory: the example generator, the tests and the
// benchmark all make their inputs with it. Not part of the converter itself.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace wfconv::writer {

inline constexpr std::size_t kBlock = 256;
inline constexpr std::size_t kSamples = kBlock / 2;

struct ChannelFields {
    std::int16_t start_block = 0;
    std::uint32_t byte_length = 0;  // only the low 24 bits are stored
    std::uint32_t scale_bits = 0x3F800000U;  // 1.0
    std::uint32_t offset_bits = 0;           // 0.0
};

inline ChannelFields channel(std::int16_t start_block, std::uint32_t byte_length, float scale, float offset) {
    return {start_block, byte_length, std::bit_cast<std::uint32_t>(scale), std::bit_cast<std::uint32_t>(offset)};
}

inline void put_be16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 8U);
    at[1] = static_cast<std::uint8_t>(value);
}

inline void put_be32(std::uint8_t* at, std::uint32_t value) {
    put_be16(at, static_cast<std::uint16_t>(value >> 16U));
    put_be16(at + 2, static_cast<std::uint16_t>(value));
}

class WaveformBuilder {
public:
    WaveformBuilder(const ChannelFields& channel1, const ChannelFields& channel2) : bytes_(kBlock, 0) {
        set_channel(0, channel1);
        set_channel(1, channel2);
    }

    // Data block of up to 128 samples; the rest of the block is filled with `fill`.
    WaveformBuilder& samples(std::span<const std::int16_t> values, std::int16_t fill = 0) {
        const std::size_t base = bytes_.size();
        bytes_.resize(base + kBlock);
        for (std::size_t k = 0; k < kSamples; ++k) {
            const std::int16_t value = k < values.size() ? values[k] : fill;
            put_be16(&bytes_[base + 2 * k], std::bit_cast<std::uint16_t>(value));
        }
        return *this;
    }

    // A block in which every sample is `value`.
    WaveformBuilder& constant_block(std::int16_t value, std::size_t count = 1) {
        for (std::size_t i = 0; i < count; ++i) samples({}, value);
        return *this;
    }

    WaveformBuilder& raw(std::span<const std::uint8_t> extra) {
        bytes_.insert(bytes_.end(), extra.begin(), extra.end());
        return *this;
    }

    WaveformBuilder& truncate(std::size_t size) {
        bytes_.resize(size);
        return *this;
    }

    std::vector<std::uint8_t>& bytes() { return bytes_; }

    void save(const std::filesystem::path& path) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
    }

private:
    void set_channel(std::size_t index, const ChannelFields& fields) {
        // Channel 1's fields start at byte 146, channel 2's 16 bytes later.
        std::uint8_t* at = &bytes_[146 + 16 * index];
        put_be16(at, std::bit_cast<std::uint16_t>(fields.start_block));
        at[3] = static_cast<std::uint8_t>(fields.byte_length >> 16U);
        at[4] = static_cast<std::uint8_t>(fields.byte_length >> 8U);
        at[5] = static_cast<std::uint8_t>(fields.byte_length);
        put_be32(at + 6, fields.scale_bits);
        put_be32(at + 10, fields.offset_bits);
    }

    std::vector<std::uint8_t> bytes_;
};

}  // namespace wfconv::writer
