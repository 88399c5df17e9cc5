// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "reader/header.hpp"

namespace wfconv {

// The command's report of a header, three lines without their line ends: the start
// blocks and lengths, the two scales, the two offsets.
std::array<std::string, 3> report_lines(const WaveformHeader& header);

// The command's messages about its input, for the path as it was given.
std::string cannot_read_message(std::string_view path);
std::string unexpected_end_message(std::string_view path);

}  // namespace wfconv
