// SPDX-License-Identifier: MIT
// The library's front end over a path: opens the input and walks it as from memory.

#include <cerrno>
#include <cstdio>

#include "reader/open_file.hpp"
#include "reader/read_blocks.hpp"
#include "wfconv/wfconv.hpp"

namespace wfconv {

ReadResult read_waveform(const std::filesystem::path& path) {
    std::FILE* input = open_file(path, FileMode::read);
    if (input == nullptr) {
        ReadResult result;
        result.outcome = ReadOutcome::cannot_open;
        result.error = std::error_code(errno, std::generic_category());
        return result;
    }
    BlockReader reader(input);
    ReadResult result = read_blocks(reader);
    std::fclose(input);
    return result;
}

}  // namespace wfconv
