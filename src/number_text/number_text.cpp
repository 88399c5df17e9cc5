#include "number_text/number_text.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace wfconv {

namespace detail {

// An unsigned integer wide enough for any double's exact value scaled to an
// integer: 53 bits times 5^1074 needs 2,548 bits, so 80 limbs of 32 bits.
class ExactInteger {
public:
    explicit ExactInteger(std::uint64_t value) {
        limbs_[0] = static_cast<std::uint32_t>(value);
        limbs_[1] = static_cast<std::uint32_t>(value >> 32U);
        used_ = limbs_[1] != 0 ? 2 : 1;
    }

    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < used_; ++i) {
            const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32U;
        }
        if (carry != 0) limbs_[used_++] = static_cast<std::uint32_t>(carry);
    }

    void multiply_by_power(std::uint32_t base, std::uint32_t largest_power, int largest_exponent, int exponent) {
        for (; exponent >= largest_exponent; exponent -= largest_exponent) multiply(largest_power);
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent) rest *= base;
        multiply(rest);
    }

    // Removes and returns the remainder modulo divisor.
    std::uint32_t divide(std::uint32_t divisor) {
        std::uint64_t remainder = 0;
        for (std::size_t i = used_; i-- > 0;) {
            const std::uint64_t current = (remainder << 32U) | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(current / divisor);
            remainder = current % divisor;
        }
        while (used_ > 1 && limbs_[used_ - 1] == 0) --used_;
        return static_cast<std::uint32_t>(remainder);
    }

    [[nodiscard]] bool is_zero() const { return used_ == 1 && limbs_[0] == 0; }

private:
    std::array<std::uint32_t, 80> limbs_{};
    std::size_t used_ = 1;
};

// Every decimal digit of an exact double value: at most 767 significant digits.
struct ExactDigits {
    std::array<char, 800> digits{};
    std::size_t count = 0;
    int exponent = 0;  // decimal exponent of the first digit
};

ExactDigits exact_digits(double magnitude) {
    constexpr int kMantissaBits = 52;
    constexpr int kExponentBias = 1075;  // 1023 plus the 52 fraction bits
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biased = static_cast<int>(bits >> kMantissaBits);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
    int binary_exponent = 1 - kExponentBias;
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << kMantissaBits;
        binary_exponent = biased - kExponentBias;
    }

    // m * 2^e is the integer m * 2^e, or the integer m * 5^-e times 10^e.
    ExactInteger value(mantissa);
    if (binary_exponent >= 0) {
        value.multiply_by_power(2, 1U << 31U, 31, binary_exponent);
    } else {
        value.multiply_by_power(5, 1220703125U, 13, -binary_exponent);  // 5^13 is the largest that fits
    }

    // Nine digits at a time, least significant first, then reversed.
    constexpr std::uint32_t kNineDigits = 1000000000;
    ExactDigits out;
    std::size_t count = 0;
    do {
        std::uint32_t chunk = value.divide(kNineDigits);
        const bool last = value.is_zero();
        for (int i = 0; i < 9 && (!last || chunk != 0); ++i) {
            out.digits[count++] = static_cast<char>('0' + chunk % 10);
            chunk /= 10;
        }
    } while (!value.is_zero());
    std::reverse(out.digits.begin(), out.digits.begin() + static_cast<std::ptrdiff_t>(count));
    out.count = count;
    out.exponent = static_cast<int>(count) - 1 + std::min(binary_exponent, 0);
    return out;
}

}  // namespace detail

namespace {

std::string right_justified(std::string text, int width) {
    if (std::cmp_less(text.size(), width)) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

void append_exponent(std::string& text, int exponent) {
    text += 'e';
    text += exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude >= 100) {
        text += std::to_string(magnitude);
        return;
    }
    text += static_cast<char>('0' + magnitude / 10);
    text += static_cast<char>('0' + magnitude % 10);
}

}  // namespace

std::string format_sci(double value, int width, int precision) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return right_justified(negative ? "-NAN" : "+NAN", width);
    if (std::isinf(value)) return right_justified(negative ? "-INF" : "+INF", width);

    const auto wanted = static_cast<std::size_t>(precision) + 1;
    std::array<char, 800> head{};  // the wanted significant digits
    head.fill('0');
    int exponent = 0;
    if (value != 0.0) {
        const detail::ExactDigits exact = detail::exact_digits(std::fabs(value));
        exponent = exact.exponent;
        std::copy_n(exact.digits.begin(), std::min(wanted, exact.count), head.begin());
        if (exact.count > wanted) {
            const char next = exact.digits[wanted];
            const bool beyond = std::any_of(exact.digits.begin() + static_cast<std::ptrdiff_t>(wanted) + 1,
                                            exact.digits.begin() + static_cast<std::ptrdiff_t>(exact.count),
                                            [](char d) { return d != '0'; });
            const bool odd = ((head[wanted - 1] - '0') % 2) != 0;
            if (next > '5' || (next == '5' && (beyond || odd))) {
                std::size_t i = wanted;
                while (i > 0 && head[i - 1] == '9') head[--i] = '0';
                if (i > 0) {
                    ++head[i - 1];
                } else {  // 9.99..95 and up carry into a new leading digit
                    head[0] = '1';
                    ++exponent;
                }
            }
        }
    }

    std::string text;
    if (negative) text += '-';
    text += head[0];
    if (precision > 0) {
        text += '.';
        text.append(head.data() + 1, wanted - 1);
    }
    append_exponent(text, exponent);
    return right_justified(std::move(text), width);
}

}  // namespace wfconv
