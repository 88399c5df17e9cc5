#pragma once

// Reading waveform files from programs: the same block walk and the same exact
// arithmetic as the wfconv command, giving the values its channel files hold.

#include <cstdint>
#include <filesystem>
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
};

// Reads a waveform file; never throws for anything the file holds or lacks.
ReadResult read_waveform(const std::filesystem::path& path);

// The same for a file's content already in memory.
ReadResult read_waveform(std::span<const std::uint8_t> bytes);

}  // namespace wfconv
