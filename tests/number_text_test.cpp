// SPDX-License-Identifier: MIT
#include "text/number_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "reference.hpp"
#include "sweep_size.hpp"

namespace wfconv {
namespace {

using test::float_from_bits;

// The texts that need no reference: non-finite values and signed zeros.
TEST(NumberText, FixedTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int width, precision;
        const char* want;
    } cases[] = {
        {inf, 11, 4, "       +INF"},
        {-inf, 11, 4, "       -INF"},
        {-inf, 0, 6, "-INF"},
        {float_from_bits(0x7FC00000U), 11, 4, "       +NAN"},
        {float_from_bits(0xFFC00000U), 0, 6, "-NAN"},
        {float_from_bits(0x7F800001U), 0, 6, "+NAN"},
        {float_from_bits(0xFFFFFFFFU), 11, 4, "       -NAN"},
        {0.0, 11, 4, " 0.0000e+00"},
        {-0.0, 11, 4, "-0.0000e+00"},
        {-0.0, 0, 6, "-0.000000e+00"},
        {0.0010000000474974513, 0, 6, "1.000000e-03"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format_sci(c.value, c.width, c.precision), c.want);
        if (c.width == 11) {
            EXPECT_EQ(channel_line(static_cast<float>(c.value)).view(), std::string(c.want) + "\r\n");
        }
    }
}

// Holds format_sci to glibc's printf at both settings the program uses: channel
// lines (width 11, precision 4) and the report (no width, precision 6).
class NumberTextReference : public ::testing::Test {
protected:
    void expect_like_printf(double value) {
        for (const auto& [width, precision] : {std::pair{11, 4}, std::pair{0, 6}}) {
            const std::string got = format_sci(value, width, precision);
            const std::string want = test::reference_sci(value, width, precision);
            ++checked_;
            if (got != want && ++failures_ <= 5) {
                ADD_FAILURE() << std::hexfloat << value << " at precision " << precision << ": got \"" << got
                              << "\", want \"" << want << '"';
            }
        }
    }
    // A float also goes through the channel line writer, which has its own digits.
    void expect_like_printf(float value) {
        expect_like_printf(static_cast<double>(value));
        const std::string want = test::reference_sci(value, 11, 4) + "\r\n";
        if (channel_line(value).view() != want && ++failures_ <= 5) {
            ADD_FAILURE() << std::hexfloat << value << ": channel line \"" << channel_line(value).view() << '"';
        }
    }
    template <class Value>
    void expect_both_signs(Value value) {
        expect_like_printf(value);
        expect_like_printf(-value);
    }
    void TearDown() override { EXPECT_EQ(failures_, 0) << "of " << checked_; }

    std::mt19937_64 rng_{20261208};
    long checked_ = 0;
    int failures_ = 0;
};

// Random significands under every float exponent, subnormals included.
TEST_F(NumberTextReference, EveryFloatExponent) {
    for (std::uint32_t exponent = 0; exponent < 255; ++exponent) {
        for (unsigned i = 0; i < 4000 / test::sweep_divisor(); ++i) {
            const auto random = static_cast<std::uint32_t>(rng_());
            expect_like_printf(float_from_bits((random & 0x807FFFFFU) | exponent << 23));
        }
    }
}

// Floats whose exact decimal value has one digit more than is kept, the last a 5:
// every one is a tie. m / 2^e has the digits of m * 5^e, and N * 10^t those of N.
TEST_F(NumberTextReference, ExactTiesGoToEven) {
    constexpr std::uint64_t kFloatSignificand = std::uint64_t{1} << 24;
    const std::uint64_t kPerGroup = 20000 / test::sweep_divisor();
    for (const int kept : {5, 7}) {
        const auto low = static_cast<std::uint64_t>(std::pow(10.0, kept));  // the digit count of the tie
        const std::uint64_t high = low * 10;
        for (int e = 1; std::pow(5.0, e) < static_cast<double>(high); ++e) {
            const auto five = static_cast<std::uint64_t>(std::pow(5.0, e));
            const std::uint64_t first = ((low + five - 1) / five) | 1U;
            const std::uint64_t last = std::min((high - 1) / five, kFloatSignificand - 1);
            const std::uint64_t step = 2 * std::max<std::uint64_t>(1, (last - first) / (2 * kPerGroup));
            for (std::uint64_t m = first; m <= last; m += step) {
                expect_both_signs(static_cast<float>(std::ldexp(static_cast<double>(m), -e)));
            }
        }
        for (std::uint64_t five = 1, t = 0; (low + 5) * five < kFloatSignificand; five *= 5, ++t) {
            const std::uint64_t last = std::min(high - 5, (kFloatSignificand - 1) / five);
            const std::uint64_t step = 10 * std::max<std::uint64_t>(1, (last - low) / (10 * kPerGroup));
            for (std::uint64_t n = low + 5; n <= last; n += step) {
                expect_both_signs(static_cast<float>(std::ldexp(static_cast<double>(n * five), static_cast<int>(t))));
            }
        }
    }
    EXPECT_GT(checked_, static_cast<long>(500'000 / test::sweep_divisor()));
}

// From 9.99995 (precision 4) and 9.9999995 (precision 6) upwards the rounding
// carries into a new leading digit and the exponent rises; check either side.
TEST_F(NumberTextReference, CarryIntoANewLeadingDigit) {
    for (int exponent = -45; exponent <= 38; ++exponent) {
        for (const char* digits : {"9.99995e", "9.9999995e"}) {
            const float near = std::strtof((digits + std::to_string(exponent)).c_str(), nullptr);
            for (int step = -16; step <= 16; ++step) {
                float value = near;
                for (int i = 0; i < std::abs(step); ++i) value = std::nextafter(value, step > 0 ? FLT_MAX : 0.0F);
                if (std::isfinite(value) && value != 0.0F) expect_both_signs(value);
            }
        }
    }
}

// The ends of the float range and the subnormals.
TEST_F(NumberTextReference, ExtremesAndSubnormals) {
    for (const float value : {0.0F, FLT_MAX, FLT_MIN, std::nextafter(FLT_MIN, 0.0F), FLT_TRUE_MIN, 2 * FLT_TRUE_MIN,
                              std::nextafter(FLT_MAX, 0.0F)}) {
        expect_both_signs(value);
    }
    for (unsigned i = 0; i < 200'000 / test::sweep_divisor(); ++i) {
        expect_like_printf(float_from_bits(static_cast<std::uint32_t>(rng_()) & 0x807FFFFFU));
    }
}

// format_sci takes doubles: three-digit exponents and subnormal doubles.
TEST_F(NumberTextReference, DoubleOnlyExponents) {
    for (const char* text : {"9.99995e99", "9.9999995e99", "9.99995e-101", "9.9999995e-100", "1e-320", "1.7e308"}) {
        double value = std::strtod(text, nullptr);
        for (int step = 0; step < 8; ++step, value = std::nextafter(value, HUGE_VAL)) expect_both_signs(value);
    }
}

}  // namespace
}  // namespace wfconv
