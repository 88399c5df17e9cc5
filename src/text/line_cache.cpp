// SPDX-License-Identifier: MIT
#include "text/line_cache.hpp"

#include "reader/sample_math.hpp"

namespace wfconv {

// The number of the tail that ends decimal's line.
char LineCache::tail_number(const Decimal& decimal) {
    if (decimal.kind == Decimal::Kind::finite) return static_cast<char>(decimal.exponent - kFirstExponent + 1);
    const std::size_t word = (decimal.kind == Decimal::Kind::nan ? 2U : 0U) + (decimal.negative ? 1U : 0U);
    return static_cast<char>(kFirstNonFinite + word);
}

const std::array<LineCache::Tail, LineCache::kTailCount> LineCache::kTails = [] {
    std::array<Tail, kTailCount> tails{};
    const auto add = [&tails](const Decimal& decimal) {
        char* tail = tails[static_cast<unsigned char>(tail_number(decimal))].data();
        write_line_tail(decimal, tail);
        tail[kLineTailSize] = '\r';
        tail[kLineTailSize + 1] = '\n';
    };
    for (int exponent = kFirstExponent; exponent <= kLastExponent; ++exponent) add({.exponent = static_cast<std::int16_t>(exponent)});
    for (const Decimal::Kind kind : {Decimal::Kind::infinity, Decimal::Kind::nan}) {
        for (const bool negative : {false, true}) add({.kind = kind, .negative = negative});
    }
    return tails;
}();

bool LineCache::reset(float scale, float offset) {
    scale_ = scale;
    offset_ = offset;
    if (entries_ == nullptr) {
        entries_.reset(static_cast<Entry*>(std::calloc(kEntries, sizeof(Entry))));
        return entries_ != nullptr;
    }
    std::memset(entries_.get(), 0, kEntries * sizeof(Entry));
    return true;
}

void LineCache::fill(Entry& entry, std::int16_t raw) const {
    const Decimal decimal = round_to_five_digits(scale_sample(raw, scale_, offset_));
    write_line_head(decimal, entry.text.data());
    entry.text[kTailAt] = tail_number(decimal);
}

}  // namespace wfconv
