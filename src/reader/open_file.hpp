// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>

namespace wfconv {

enum class FileMode { read, write };

// Opens path in binary mode: read, or write (created or truncated). Null on
// failure, with errno set. On Windows any path opens, of any length and in any
// script, and a directory opened for reading reads nothing, as on POSIX.
std::FILE* open_file(const std::filesystem::path& path, FileMode mode);

}  // namespace wfconv
