// SPDX-License-Identifier: MIT
#include "reader/windows_names.hpp"

#ifdef _WIN32

#include <windows.h>

#include <climits>

namespace wfconv::detail {

std::wstring utf16_from_utf8(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string utf8_from_utf16(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    std::string narrow(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                        nullptr);
    return narrow;
}

std::wstring system_path(const std::filesystem::path& path) {
    const std::wstring& name = path.native();
    // Counts the terminating null, like MAX_PATH.
    const DWORD full_size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (full_size == 0 || full_size <= MAX_PATH || name.starts_with(L"\\\\?\\")) return name;
    std::wstring full(full_size, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), full_size, full.data(), nullptr);
    if (length == 0 || length >= full_size) return name;
    full.resize(length);
    // Behind the prefix the system reads the name literally: it must already be
    // absolute, with backslashes and no "." or "..", which GetFullPathNameW made it.
    if (full.starts_with(L"\\\\.\\")) return full;                     // a device
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
    return L"\\\\?\\" + full;
}

}  // namespace wfconv::detail

#endif
