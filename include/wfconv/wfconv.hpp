// SPDX-License-Identifier: MIT
#pragma once

// Reading waveform files from programs: the same block walk and the same exact
// arithmetic as the wfconv command, giving the values its channel files hold.

#include <filesystem>

#include "wfconv/waveform.hpp"

namespace wfconv {

// Reads a waveform file; never throws for anything the file holds or lacks. Reads may
// run at once on several threads, of different files or of the same one: the library
// keeps no state between calls.
ReadResult read_waveform(const std::filesystem::path& path);

}  // namespace wfconv
