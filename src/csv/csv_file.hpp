// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "text/csv_text.hpp"

namespace wfconv {

// How one file's conversion ended: the command's status for it, and the lines to
// report on standard error (each ending in CR LF), empty when it converted whole.
struct CsvFileResult {
    int status = 0;
    std::string messages;
};

// Converts the waveform file at input into the CSV file at output (both UTF-8).
CsvFileResult convert_to_csv(const std::string& input, const std::string& output, const CsvOptions& options);

}  // namespace wfconv
