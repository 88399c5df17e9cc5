// SPDX-License-Identifier: MIT
#pragma once

// Windows' side of names: the program keeps text in UTF-8 and meets the system's
// UTF-16 only here and at the other files of this folder.

#ifdef _WIN32

#include <filesystem>
#include <string>
#include <string_view>

namespace wfconv::detail {

std::wstring utf16_from_utf8(std::string_view text);
std::string utf8_from_utf16(std::wstring_view text);

// The name to hand to the system's file calls: the path itself while it is short
// enough for them, else its absolute form behind the \\?\ prefix, which lifts the
// limit of 260 characters.
std::wstring system_path(const std::filesystem::path& path);

}  // namespace wfconv::detail

#endif
