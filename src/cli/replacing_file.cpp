// SPDX-License-Identifier: MIT
#include "cli/replacing_file.hpp"

#include <cerrno>
#include <string>

#include "reader/open_file.hpp"

#ifdef _WIN32
#include <windows.h>

#include "reader/windows_names.hpp"
#endif

namespace wfconv {

namespace {

// The system's reason, or a general one where it gave none: a failure never reads "Success".
std::error_code last_error() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

bool remove_file(const std::filesystem::path& path) {
#ifdef _WIN32
    return DeleteFileW(detail::system_path(path).c_str()) != 0;
#else
    return std::remove(path.c_str()) == 0;
#endif
}

// Replaces an existing file of the final name in one step on both systems.
bool rename_file(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
#ifdef _WIN32
    if (MoveFileExW(detail::system_path(from).c_str(), detail::system_path(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return false;
#else
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    error = last_error();
    return false;
#endif
}

}  // namespace

ReplacingFile::~ReplacingFile() { discard(); }

std::FILE* ReplacingFile::open(std::error_code& error) {
    // Another run may be writing the same name: each takes the first free number.
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::filesystem::path name = final_path_;
        name += ".tmp" + std::to_string(attempt);
        file_ = open_file(name, FileMode::create_new);
        if (file_ != nullptr) {
            temporary_path_ = std::move(name);
            created_ = true;
            return file_;
        }
        if (errno != EEXIST) break;
    }
    error = last_error();
    return nullptr;
}

bool ReplacingFile::commit(std::error_code& error) {
    const bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    if (!written) error = last_error();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (written && !closed) error = last_error();
    if (!written || !closed || !rename_file(temporary_path_, final_path_, error)) {
        discard();
        return false;
    }
    created_ = false;
    return true;
}

void ReplacingFile::discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (created_) remove_file(temporary_path_);
    created_ = false;
}

}  // namespace wfconv
