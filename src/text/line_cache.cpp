// SPDX-License-Identifier: MIT
#include "text/line_cache.hpp"

#include "reader/sample_math.hpp"

namespace wfconv {

namespace {

// The number of the tail that ends decimal's line.
char tail_number(const Decimal& decimal) {
    if (decimal.kind == Decimal::Kind::finite) return static_cast<char>(decimal.exponent - kFirstTailExponent + 1);
    const int word = (decimal.kind == Decimal::Kind::nan ? 2 : 0) + (decimal.negative ? 1 : 0);
    return static_cast<char>(kFirstNonFiniteTail + word);
}

}  // namespace

const std::array<LineTail, kLineTailCount> kLineTails = [] {
    std::array<LineTail, kLineTailCount> tails{};
    const auto add = [&tails](const Decimal& decimal) {
        char* tail = tails[static_cast<unsigned char>(tail_number(decimal))].data();
        write_line_tail(decimal, tail);
        tail[kLineTailSize] = '\r';
        tail[kLineTailSize + 1] = '\n';
    };
    for (int exponent = kFirstTailExponent; exponent <= kLastTailExponent; ++exponent) {
        add({.exponent = static_cast<std::int16_t>(exponent)});
    }
    for (const Decimal::Kind kind : {Decimal::Kind::infinity, Decimal::Kind::nan}) {
        for (const bool negative : {false, true}) add({.kind = kind, .negative = negative});
    }
    return tails;
}();

PackedLine pack_line(float value) {
    const Decimal decimal = round_to_five_digits(value);
    PackedLine line{};
    write_line_head(decimal, line.head.data());
    line.tail = tail_number(decimal);
    return line;
}

bool LineCache::reset(float scale, float offset) {
    scale_ = scale;
    offset_ = offset;
    if (entries_ == nullptr) {
        entries_.reset(static_cast<PackedLine*>(std::calloc(kEntries, sizeof(PackedLine))));
        return entries_ != nullptr;
    }
    std::memset(entries_.get(), 0, kEntries * sizeof(PackedLine));
    return true;
}

void LineCache::fill(PackedLine& entry, std::int16_t raw) const { entry = pack_line(scale_sample(raw, scale_, offset_)); }

}  // namespace wfconv
