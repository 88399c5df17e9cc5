// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

#include "reader/big_endian.hpp"
#include "text/number_text.hpp"

namespace wfconv {

// Within one channel a line depends on nothing but the raw sample, which has only
// 65,536 values: each line is made once, on first use, and copied after that.
//
// An entry is 8 bytes, half a line's size, so that more of the table stays in the
// processor's cache while the system copies the output: the line's first seven
// characters (sign, digit, point, four digits) and the number of its tail, which the
// table of tails turns into the rest: "e+05\r\n", "e-45\r\n", ... or "+INF\r\n".
class LineCache {
public:
    // Each line is moved in two 8-byte copies, so the last line of a call writes
    // kOverrun scratch bytes past its end.
    static constexpr std::size_t kOverrun = 2;

    // Holds no memory until the first reset(). One cache serves a whole run, so its
    // memory is allocated and faulted in once.
    LineCache() = default;

    // Forgets every line and starts over for a channel with this scaling. False when
    // the memory cannot be had; the caller then makes its lines without the cache.
    [[nodiscard]] bool reset(float scale, float offset);

    // Writes the lines of the raw samples, stored as big-endian 16-bit integers, one
    // after the other from out. Only after reset().
    void write_lines(std::span<const std::uint8_t> samples, char* out) {
        Entry* const entries = entries_.get();  // in a local: the stores to out cannot move it
        for (std::size_t at = 0; at + 1 < samples.size(); at += 2, out += kChannelLineSize) {
            const std::int16_t raw = decode_be16(samples, at);
            Entry& entry = entries[static_cast<std::uint16_t>(raw)];
            if (entry.text[kTailAt] == kNotMade) [[unlikely]] fill(entry, raw);
            std::memcpy(out, entry.text.data(), kPiece);
            std::memcpy(out + kTailAt, kTails[static_cast<unsigned char>(entry.text[kTailAt])].data(), kPiece);
        }
    }

private:
    static constexpr std::size_t kPiece = 8;  // one 64-bit move
    static constexpr std::size_t kTailAt = kLineHeadSize;
    static constexpr char kNotMade = 0;  // no tail has number 0
    // Exponents -45 (the smallest subnormal) to +38 (FLT_MAX) as 1 to 84, then the
    // four non-finite tails.
    static constexpr int kFirstExponent = -45;
    static constexpr int kLastExponent = 38;
    static constexpr std::size_t kFirstNonFinite = 1 + (kLastExponent - kFirstExponent + 1);
    static constexpr std::size_t kTailCount = kFirstNonFinite + 4;
    static_assert(kTailAt + kPiece == kChannelLineSize + kOverrun);

    struct Entry {
        std::array<char, kPiece> text;  // seven characters, then the tail's number
    };
    using Tail = std::array<char, kPiece>;  // six characters, then two scratch bytes
    static const std::array<Tail, kTailCount> kTails;
    static constexpr std::size_t kEntries = std::size_t{1} << 16U;

    struct Free {
        void operator()(Entry* entries) const { std::free(entries); }
    };

    static char tail_number(const Decimal& decimal);
    void fill(Entry& entry, std::int16_t raw) const;

    float scale_ = 0.0F;
    float offset_ = 0.0F;
    // From calloc: the system hands out zeroed pages as they are first touched, so a
    // channel with few distinct samples touches few pages.
    std::unique_ptr<Entry[], Free> entries_;
};

}  // namespace wfconv
