// SPDX-License-Identifier: MIT
#pragma once

namespace wfconv {

// Standard output passes every byte unchanged. The program writes its own CR LF;
// Windows' text mode would turn that into CR CR LF.
void make_stdout_binary();
// The same for standard error, for programs that report there.
void make_stderr_binary();

}  // namespace wfconv
