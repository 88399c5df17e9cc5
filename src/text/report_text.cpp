// SPDX-License-Identifier: MIT
#include "text/report_text.hpp"

#include "text/number_text.hpp"

namespace wfconv {

namespace {

// "%e": the float widened to double, seven significant digits, no padding.
std::string report_pair(float first, float second) {
    constexpr int kNoWidth = 0;
    constexpr int kReportPrecision = 6;
    return format_sci(first, kNoWidth, kReportPrecision) + ' ' + format_sci(second, kNoWidth, kReportPrecision);
}

}  // namespace

std::array<std::string, 3> report_lines(const WaveformHeader& header) {
    return {std::to_string(header.channel1.start_block) + ' ' + std::to_string(header.channel2.start_block) + ' ' +
                std::to_string(header.channel1.byte_length) + ' ' + std::to_string(header.channel2.byte_length),
            report_pair(header.channel1.scale, header.channel2.scale),
            report_pair(header.channel1.offset, header.channel2.offset)};
}

std::string cannot_read_message(std::string_view path) { return "Cannot read " + std::string(path); }

std::string unexpected_end_message(std::string_view path) { return "Unexpected end of " + std::string(path); }

}  // namespace wfconv
