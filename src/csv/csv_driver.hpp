// SPDX-License-Identifier: MIT
#pragma once

namespace wfconv {

// The whole wfconv-csv program: converts every waveform file its arguments name into
// a CSV file and returns the exit status.
int run_csv(int argc, const char* const* argv);

}  // namespace wfconv
