// SPDX-License-Identifier: MIT
#pragma once

// A waveform file's values read from its bytes in memory: the same block walk and the
// same exact arithmetic as the wfconv command. Needs no file system, so that builds
// without one (WebAssembly) have it too; wfconv.hpp adds reading from a path.

#include <cstdint>
#include <span>
#include <system_error>
#include <vector>

#include "wfconv/waveform_header.hpp"

namespace wfconv {

// How a read ended; each has the command's exit status beside it.
enum class ReadOutcome {
    complete,     // both channels whole (status 0)
    cannot_open,  // the file could not be opened; error says why (status 2)
    too_short,    // less than one 256-byte header block (status 2)
    read_failed,  // an I/O error; error says why, the channels hold what was read before it (status 2)
    ended_early,  // the input ended before a sample a channel needs (status 3)
};

struct Waveform {
    WaveformHeader header;      // meaningful unless cannot_open or too_short
    std::vector<float> channel1;
    std::vector<float> channel2;  // empty when channel 1 was cut short
};

struct ReadResult {
    ReadOutcome outcome = ReadOutcome::complete;
    std::error_code error;  // the system's reason for cannot_open and read_failed
    // After ended_early or read_failed: the whole samples that arrived.
    Waveform waveform;
    // The channel that ended early (1 or 2) after ended_early or read_failed in a channel;
    // 0 otherwise. When it is 1, the command creates no file for channel 2.
    int cut_channel = 0;
};

// Reads a file's content already in memory; never throws for anything it holds or lacks.
// Any number of reads may run at once on different threads, of the same bytes too.
ReadResult read_waveform(std::span<const std::uint8_t> bytes);

}  // namespace wfconv
