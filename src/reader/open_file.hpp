// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>

namespace wfconv {

// create_new fails when path exists already (errno EEXIST).
enum class FileMode { read, write, create_new };

// Opens path in binary mode: read, write (created or truncated), or create_new. Null on
// failure, with errno set. On Windows any path opens, of any length and in any
// script, and a directory opened for reading reads nothing, as on POSIX.
std::FILE* open_file(const std::filesystem::path& path, FileMode mode);

}  // namespace wfconv
