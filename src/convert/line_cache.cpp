#include "convert/line_cache.hpp"

#include "convert/sample_math.hpp"

namespace wfconv {

namespace {

constexpr std::array<const char*, 4> kNonFinite = {"+INF", "-INF", "+NAN", "-NAN"};

}  // namespace

const std::array<LineCache::Tail, LineCache::kTailCount> LineCache::kTails = [] {
    std::array<Tail, kTailCount> tails{};
    for (int exponent = kFirstExponent; exponent <= kLastExponent; ++exponent) {
        const int magnitude = exponent < 0 ? -exponent : exponent;
        tails[static_cast<std::size_t>(exponent - kFirstExponent) + 1] = {
            'e', exponent < 0 ? '-' : '+', static_cast<char>('0' + magnitude / 10),
            static_cast<char>('0' + magnitude % 10), '\r', '\n'};
    }
    for (std::size_t i = 0; i < kNonFinite.size(); ++i) {
        const char* word = kNonFinite[i];
        tails[kTailCount - kNonFinite.size() + i] = {word[0], word[1], word[2], word[3], '\r', '\n'};
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

// The number of a line's tail, read off the line's text from its eighth character.
char LineCache::tail_number(const char* tail) {
    if (tail[0] == 'e') {
        const int magnitude = (tail[2] - '0') * 10 + (tail[3] - '0');
        return static_cast<char>((tail[1] == '-' ? -magnitude : magnitude) - kFirstExponent + 1);
    }
    std::size_t i = 0;
    while (std::memcmp(kNonFinite[i], tail, 4) != 0) ++i;
    return static_cast<char>(kTailCount - kNonFinite.size() + i);
}

void LineCache::fill(Entry& entry, std::int16_t raw) const {
    std::array<char, kChannelLineSize> line{};
    write_channel_line(scale_sample(raw, scale_, offset_), line.data());
    std::memcpy(entry.text.data(), line.data(), kTailAt);
    entry.text[kTailAt] = tail_number(line.data() + kTailAt);
}

}  // namespace wfconv
