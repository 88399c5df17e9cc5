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

// A channel line in 8 bytes, half its size: the line's first seven characters (sign,
// digit, point, four digits, or seven blanks) and the number of its tail, which
// line_tail() turns into the rest: "e+05\r\n", "e-45\r\n", ... or "+INF\r\n". Tail
// number 0 stands for no line. What the line cache keeps, and wfconv-csv's cells are
// made of.
struct PackedLine {
    std::array<char, kLineHeadSize> head;
    char tail;
};
static_assert(sizeof(PackedLine) == 8);

// Exponents -45 (the smallest subnormal) to +38 (FLT_MAX) have tails 1 to 84, then
// come the four non-finite tails: +INF, -INF, +NAN, -NAN.
inline constexpr int kFirstTailExponent = -45;
inline constexpr int kLastTailExponent = 38;
inline constexpr char kFirstNonFiniteTail = 1 + (kLastTailExponent - kFirstTailExponent + 1);

inline constexpr std::size_t kLineTailCount = static_cast<std::size_t>(kFirstNonFiniteTail) + 4;

// A tail's six characters, then two scratch bytes: one 64-bit move.
using LineTail = std::array<char, 8>;
extern const std::array<LineTail, kLineTailCount> kLineTails;
inline const LineTail& line_tail(char number) { return kLineTails[static_cast<unsigned char>(number)]; }

// The line of value, packed: what the line cache keeps under a raw sample.
PackedLine pack_line(float value);

// From this many blocks on (32,768 samples, half as many as there are raw values)
// a channel's lines come from a LineCache. Below it, making every line afresh costs
// less than faulting in the cache's pages, of which a spread-out signal touches all.
inline constexpr std::int32_t kLineCacheFromBlocks = 256;

// Within one channel a line depends on nothing but the raw sample, which has only
// 65,536 values: each line is made once, on first use, and copied after that.
//
// An entry is a PackedLine, half a line's size, so that more of the table stays in
// the processor's cache while the system copies the output.
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
        PackedLine* const entries = entries_.get();  // in a local: the stores to out cannot move it
        for (std::size_t at = 0; at + 1 < samples.size(); at += 2, out += kChannelLineSize) {
            const PackedLine& line = packed(entries, decode_be16(samples, at));
            std::memcpy(out, &line, kPiece);
            std::memcpy(out + kTailAt, line_tail(line.tail).data(), kPiece);
        }
    }

    // The packed lines of the raw samples, one after the other from out. Only after reset().
    void pack_lines(std::span<const std::uint8_t> samples, PackedLine* out) {
        PackedLine* const entries = entries_.get();
        for (std::size_t at = 0; at + 1 < samples.size(); at += 2) *out++ = packed(entries, decode_be16(samples, at));
    }

private:
    static constexpr std::size_t kPiece = 8;  // one 64-bit move
    static constexpr std::size_t kTailAt = kLineHeadSize;
    static constexpr char kNotMade = 0;  // no tail has number 0
    static_assert(kTailAt + kPiece == kChannelLineSize + kOverrun);
    static constexpr std::size_t kEntries = std::size_t{1} << 16U;

    struct Free {
        void operator()(PackedLine* entries) const { std::free(entries); }
    };

    PackedLine& packed(PackedLine* entries, std::int16_t raw) const {
        PackedLine& entry = entries[static_cast<std::uint16_t>(raw)];
        if (entry.tail == kNotMade) [[unlikely]] fill(entry, raw);
        return entry;
    }
    void fill(PackedLine& entry, std::int16_t raw) const;

    float scale_ = 0.0F;
    float offset_ = 0.0F;
    // From calloc: the system hands out zeroed pages as they are first touched, so a
    // channel with few distinct samples touches few pages.
    std::unique_ptr<PackedLine[], Free> entries_;
};

}  // namespace wfconv
