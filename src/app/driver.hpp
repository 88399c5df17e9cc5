// SPDX-License-Identifier: MIT
#pragma once

namespace wfconv {

// Exit statuses of a run.
enum ExitStatus : int {
    kSuccess = 0,
    kUsageOrOutputFailure = 1,  // no input path; a channel file cannot be created (or is the input) or written
    kInputFailure = 2,          // the input cannot be opened or read, or holds less than a header block
    kInputEndedEarly = 3,       // a channel needed samples the input does not hold
};

// The whole program: converts the waveform file named by argv[1] into its two
// channel files and reports on standard output.
int run(int argc, const char* const* argv);

}  // namespace wfconv
