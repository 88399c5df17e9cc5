// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace wfconv {

// The path named by UTF-8 text, as the program holds every name. On POSIX the
// bytes are the name, whatever they hold; on Windows they become UTF-16.
std::filesystem::path path_from_utf8(const std::string& text);

}  // namespace wfconv
