// SPDX-License-Identifier: MIT
#include "cli/binary_stdout.hpp"
#include "cli/utf8_arguments.hpp"
#include "csv/csv_driver.hpp"

int main(int argc, char** argv) {
    wfconv::make_stdout_binary();
    wfconv::make_stderr_binary();
    const wfconv::Utf8Arguments arguments(argc, argv);
    return wfconv::run_csv(arguments.count(), arguments.values());
}
