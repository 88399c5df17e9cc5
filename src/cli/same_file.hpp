// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>

namespace wfconv {

// Whether path names the file that `open` reads: the same file however reached,
// through a hard link or a symbolic one. False when path names nothing.
bool is_same_file(std::FILE* open, const std::filesystem::path& path);

}  // namespace wfconv
