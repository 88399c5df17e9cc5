// SPDX-License-Identifier: MIT
#pragma once

// Files in tests on every platform: a fresh scratch directory, names as the UTF-8
// text in which the program takes and prints them, and a whole file's bytes.

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace wfconv::test {

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A new, empty directory under the system's temporary directory.
inline std::filesystem::path make_scratch_dir(const std::string& prefix) {
    std::random_device seed;
    std::mt19937_64 pick(seed());
    for (;;) {
        std::filesystem::path dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(pick()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
}

#ifdef _WIN32
// Win32's own calls, behind the \\?\ prefix, reach paths of any length; the C
// runtime's, which std::filesystem uses, do not under Wine.
inline void remove_tree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    const HANDLE found = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (found != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                remove_tree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(found, &entry));
        FindClose(found);
    }
    RemoveDirectoryW(path.c_str());
}
#endif

// Removes a scratch directory and everything in it, however long the paths inside.
inline void remove_scratch_dir(const std::filesystem::path& dir) {
#ifdef _WIN32
    remove_tree(L"\\\\?\\" + std::filesystem::absolute(dir).wstring());
#else
    std::filesystem::remove_all(dir);
#endif
}

// std::tmpfile, but on Windows in the temporary directory: the old C runtime's
// makes its files in the root of the drive, where a user may not write.
inline std::FILE* temporary_file() {
#ifdef _WIN32
    std::random_device seed;
    std::mt19937_64 pick(seed());
    const std::filesystem::path path = std::filesystem::temp_directory_path() / ("wfconv-" + std::to_string(pick()));
    return _wfopen(path.c_str(), L"w+bD");  // D: deleted when closed
#else
    return std::tmpfile();
#endif
}

// Through char8_t, which the standard library reads and writes as UTF-8 on every
// platform, not in the ANSI code page as it does plain char on Windows.
inline std::string utf8_of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

inline std::filesystem::path path_of_utf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace wfconv::test
