// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "wfconv/waveform.hpp"

namespace wfconv {

// A file's samples as it holds them, big-endian 16-bit, walked as read_waveform walks
// it: a table of each raw sample's text then stands in for the arithmetic and the
// rounding of every sample.
struct RawWaveform {
    WaveformHeader header;
    std::vector<std::uint8_t> channel1;
    std::vector<std::uint8_t> channel2;  // empty when channel 1 was cut short
};

// What read_waveform gives, with raw samples for the values.
struct RawReadResult {
    ReadOutcome outcome = ReadOutcome::complete;
    std::error_code error;
    RawWaveform waveform;
    int cut_channel = 0;
};

RawReadResult read_raw_waveform(const std::filesystem::path& path);

}  // namespace wfconv
