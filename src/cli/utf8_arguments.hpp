// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace wfconv {

// The command line as UTF-8 text, in an argv-like array that ends in a null. On
// Windows it is read afresh as UTF-16, since the narrow argv the C runtime hands
// main loses every character outside the ANSI code page.
class Utf8Arguments {
public:
    Utf8Arguments(int argc, const char* const* argv);
    Utf8Arguments(const Utf8Arguments&) = delete;
    Utf8Arguments& operator=(const Utf8Arguments&) = delete;

    [[nodiscard]] int count() const { return static_cast<int>(texts_.size()); }
    [[nodiscard]] const char* const* values() const { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

}  // namespace wfconv
