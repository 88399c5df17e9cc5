// SPDX-License-Identifier: MIT
#include "csv/csv_arguments.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

namespace wfconv {

namespace {

// Read in the C locale's way whatever the system's locale: the interval is the same
// number on every machine.
std::optional<double> parse_seconds(std::string_view text) {
    double value = 0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec != std::errc() || read.ptr != text.data() + text.size() || !std::isfinite(value) || value <= 0) {
        return std::nullopt;
    }
    return value;
}

CsvArguments usage_error(std::string error) {
    CsvArguments arguments;
    arguments.action = CsvAction::usage_error;
    arguments.error = std::move(error);
    return arguments;
}

}  // namespace

CsvArguments parse_csv_arguments(int argc, const char* const* argv) {
    CsvArguments arguments;
    bool options_ended = false;
    for (int at = 1; at < argc; ++at) {
        const std::string_view argument = argv[at];
        if (options_ended || argument.size() < 2 || argument[0] != '-') {
            arguments.files.emplace_back(argument);
            continue;
        }
        // An option's value: after '=' (long) or attached (short), else the next argument.
        std::string_view name = argument;
        std::optional<std::string_view> attached;
        if (argument.starts_with("--")) {
            if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
                name = argument.substr(0, equals);
                attached = argument.substr(equals + 1);
            }
        } else if (argument.size() > 2) {
            name = argument.substr(0, 2);
            attached = argument.substr(2);
        }
        const bool takes_value = name == "--interval" || name == "--output-dir" || name == "-o";
        if (attached && !takes_value) return usage_error("option '" + std::string(name) + "' takes no value");
        std::string_view value;
        if (takes_value) {
            if (attached) {
                value = *attached;
            } else if (at + 1 < argc) {
                value = argv[++at];
            } else {
                return usage_error("option '" + std::string(name) + "' needs a value");
            }
        }
        if (name == "--") {
            options_ended = true;
        } else if (name == "--help") {
            arguments.action = CsvAction::help;
            return arguments;
        } else if (name == "--version") {
            arguments.action = CsvAction::version;
            return arguments;
        } else if (name == "--exact") {
            arguments.options.exact = true;
        } else if (name == "--decimal-comma") {
            arguments.options.decimal_comma = true;
        } else if (name == "--interval") {
            const std::optional<double> seconds = parse_seconds(value);
            if (!seconds) return usage_error("invalid interval '" + std::string(value) + "': seconds above 0 expected");
            arguments.options.interval = *seconds;
        } else if (takes_value) {
            if (value.empty()) return usage_error("empty output directory");
            arguments.output_dir = value;
        } else {
            return usage_error("unknown option '" + std::string(argument) + "'");
        }
    }
    if (arguments.files.empty()) return usage_error("no input file");
    return arguments;
}

const char* csv_usage() {
    return "Usage: wfconv-csv [OPTIONS] FILE...\n"
           "Converts each waveform file into FILE.csv: a sample column and both channels.\n"
           "\n"
           "  -o, --output-dir DIR    write the CSV files into DIR, not beside their inputs\n"
           "      --interval SECONDS  add a time column: the sample number times SECONDS\n"
           "      --exact             each value as the shortest text that reads back as\n"
           "                          the same 32-bit float\n"
           "      --decimal-comma     ';' between fields and ',' as the decimal mark\n"
           "      --help              show this help and exit\n"
           "      --version           show the version and exit\n"
           "\n"
           "Exit status: 0 when every file converted whole, else that of the first file\n"
           "that did not: 1 output failed, 2 input unreadable, 3 input ended early.\n";
}

}  // namespace wfconv
