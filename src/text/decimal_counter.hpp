// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstring>

namespace wfconv {

// A count kept as its decimal digits and counted up in place, so that a row's number
// costs a copy rather than a division per digit. The last digit, which changes on
// every count, is kept apart: storing it into the digits just before copying them
// would hold up the copy until the store is done.
class DecimalCounter {
public:
    // Writes the digits from out and returns their end; writes up to kOverrun bytes
    // past it.
    static constexpr std::size_t kOverrun = 24;

    void set(std::size_t count) {
        digits_.fill('0');
        size_ = static_cast<std::size_t>(std::to_chars(digits_.data(), digits_.data() + digits_.size(), count).ptr -
                                         digits_.data());
        last_ = digits_[size_ - 1];
    }

    char* write(char* out) const {
        constexpr std::size_t kShort = 8;  // any count below 10^8: one 64-bit move
        std::memcpy(out, digits_.data(), kShort);
        if (size_ > kShort) [[unlikely]] std::memcpy(out, digits_.data(), digits_.size());
        out[size_ - 1] = last_;
        return out + size_;
    }

    void increment() {
        if (last_ != '9') {
            ++last_;
            return;
        }
        last_ = '0';
        for (std::size_t at = size_ - 1; at-- > 0;) {
            if (digits_[at] != '9') {
                ++digits_[at];
                return;
            }
            digits_[at] = '0';
        }
        // 99 became 00: now 100.
        digits_[size_ - 1] = '0';
        digits_[0] = '1';
        ++size_;
    }

private:
    std::array<char, kOverrun> digits_{};  // room for any std::size_t's 20 digits and one more
    std::size_t size_ = 1;
    char last_ = '0';  // digits_[size_ - 1] is not kept up to date
};

}  // namespace wfconv
