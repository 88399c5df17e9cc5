// SPDX-License-Identifier: MIT
#pragma once

// How much of the long sweeps a test run checks. Runs under an emulator (tests/CMakeLists.txt
// sets WFCONV_SWEEP_DIVISOR for them) check about one case in so many, to keep CI short; a
// native run checks them all.

#include <cstdlib>

namespace wfconv::test {

inline unsigned sweep_divisor() {
    static const unsigned divisor = [] {
        const char* text = std::getenv("WFCONV_SWEEP_DIVISOR");
        const long value = text == nullptr ? 1 : std::strtol(text, nullptr, 10);
        return value > 1 ? static_cast<unsigned>(value) : 1U;
    }();
    return divisor;
}

}  // namespace wfconv::test
