// SPDX-License-Identifier: MIT
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace wfconv {

// Waveform files store every multi-byte field most significant byte first.
// These are pure functions over a byte view; callers guarantee the bytes exist.

// Every sample is read here, so it is one two-byte load, swapped on little-endian
// processors, rather than two byte loads.
inline std::int16_t decode_be16(std::span<const std::uint8_t> bytes, std::size_t pos) {
    static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);
    std::uint16_t bits = 0;
    std::memcpy(&bits, bytes.data() + pos, sizeof bits);
    if constexpr (std::endian::native == std::endian::little) {
        bits = static_cast<std::uint16_t>((bits >> 8U) | (bits << 8U));
    }
    return std::bit_cast<std::int16_t>(bits);
}

inline std::int32_t decode_be24(std::span<const std::uint8_t> bytes, std::size_t pos) {
    return static_cast<std::int32_t>((std::uint32_t{bytes[pos]} << 16) |
                                     (std::uint32_t{bytes[pos + 1]} << 8) | bytes[pos + 2]);
}

inline float decode_be_float32(std::span<const std::uint8_t> bytes, std::size_t pos) {
    const std::uint32_t bits = (std::uint32_t{bytes[pos]} << 24) |
                               (std::uint32_t{bytes[pos + 1]} << 16) |
                               (std::uint32_t{bytes[pos + 2]} << 8) | bytes[pos + 3];
    return std::bit_cast<float>(bits);
}

}  // namespace wfconv
