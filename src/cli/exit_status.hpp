// SPDX-License-Identifier: MIT
#pragma once

namespace wfconv {

// Exit statuses of a run, the same for every program of the project.
enum ExitStatus : int {
    kSuccess = 0,
    kUsageOrOutputFailure = 1,  // no input path; an output cannot be created (or is the input) or written
    kInputFailure = 2,          // the input cannot be opened or read, or holds less than a header block
    kInputEndedEarly = 3,       // a channel needed samples the input does not hold
};

}  // namespace wfconv
