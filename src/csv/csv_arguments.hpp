// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "text/csv_text.hpp"

namespace wfconv {

enum class CsvAction { convert, help, version, usage_error };

struct CsvArguments {
    CsvAction action = CsvAction::convert;
    CsvOptions options;
    std::string output_dir;  // empty: each CSV beside its input
    std::vector<std::string> files;
    std::string error;  // for usage_error: what was wrong
};

// GNU-style: options anywhere before "--", "--name=value" or "--name value", "-o DIR"
// or "-oDIR"; "-" alone is a file name.
CsvArguments parse_csv_arguments(int argc, const char* const* argv);

// The help text, lines ending in LF.
const char* csv_usage();

}  // namespace wfconv
