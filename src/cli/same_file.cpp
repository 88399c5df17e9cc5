// SPDX-License-Identifier: MIT
#include "cli/same_file.hpp"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "reader/windows_names.hpp"
#else
#include <sys/stat.h>
#endif

namespace wfconv {

#ifdef _WIN32

namespace {

// A file is the same file when it lies on the same volume under the same index.
bool same_identity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

bool is_same_file(std::FILE* open, const std::filesystem::path& path) {
    BY_HANDLE_FILE_INFORMATION open_info{};
    const auto open_handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(open)));
    if (open_handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(open_handle, &open_info)) return false;
    // No access asked: only the identity is read. Backup semantics let a directory open too.
    const HANDLE named = CreateFileW(detail::system_path(path).c_str(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION named_info{};
    const bool same = GetFileInformationByHandle(named, &named_info) && same_identity(open_info, named_info);
    CloseHandle(named);
    return same;
}

#else

bool is_same_file(std::FILE* open, const std::filesystem::path& path) {
    struct stat open_info {};
    struct stat named_info {};
    if (fstat(fileno(open), &open_info) != 0 || stat(path.c_str(), &named_info) != 0) return false;
    return open_info.st_dev == named_info.st_dev && open_info.st_ino == named_info.st_ino;
}

#endif

}  // namespace wfconv
