// SPDX-License-Identifier: MIT
#include <csignal>

#include "app/driver.hpp"
#include "cli/binary_stdout.hpp"
#include "cli/utf8_arguments.hpp"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader of standard output that leaves early must not stop the conversion:
    // the failed write is noticed at the end and gives status 1 instead.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    wfconv::make_stdout_binary();
    const wfconv::Utf8Arguments arguments(argc, argv);
    return wfconv::run(arguments.count(), arguments.values());
}
