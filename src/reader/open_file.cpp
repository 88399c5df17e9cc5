// SPDX-License-Identifier: MIT
#include "reader/open_file.hpp"

#ifdef _WIN32
#include <windows.h>

#include "reader/windows_names.hpp"
#endif

namespace wfconv {

std::FILE* open_file(const std::filesystem::path& path, FileMode mode) {
#ifdef _WIN32
    const std::wstring name = detail::system_path(path);
    std::FILE* file = _wfopen(name.c_str(), mode == FileMode::read ? L"rb" : mode == FileMode::write ? L"wb" : L"wbx");
    // POSIX opens a directory for reading and then reads nothing from it; Windows
    // refuses to open it. An empty stream gives the same outcome on both.
    if (file == nullptr && mode == FileMode::read) {
        const DWORD attributes = GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            file = _wfopen(L"NUL", L"rb");
        }
    }
    return file;
#else
    return std::fopen(path.c_str(), mode == FileMode::read ? "rb" : mode == FileMode::write ? "wb" : "wbx");
#endif
}

}  // namespace wfconv
