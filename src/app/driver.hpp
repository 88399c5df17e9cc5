// SPDX-License-Identifier: MIT
#pragma once

#include "cli/exit_status.hpp"

namespace wfconv {

// The whole program: converts the waveform file named by argv[1] into its two
// channel files and reports on standard output.
int run(int argc, const char* const* argv);

}  // namespace wfconv
