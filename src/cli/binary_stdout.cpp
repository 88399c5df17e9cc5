// SPDX-License-Identifier: MIT
#include "cli/binary_stdout.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

namespace wfconv {

void make_stdout_binary() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void make_stderr_binary() {
#ifdef _WIN32
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

}  // namespace wfconv
