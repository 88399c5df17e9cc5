// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace wfconv {

// A file written under a temporary name in the directory of its final name, which it
// takes only once everything is written: a failed write never leaves a half-written
// file under the final name, and the file it replaces stays whole until then.
class ReplacingFile {
public:
    explicit ReplacingFile(std::filesystem::path final_path) : final_path_(std::move(final_path)) {}
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~ReplacingFile();

    // Creates the temporary file for binary writing; null, with error set, on failure.
    std::FILE* open(std::error_code& error);

    // Closes the file and gives it the final name; false, with error set, on failure.
    bool commit(std::error_code& error);

private:
    void discard();

    std::filesystem::path final_path_;
    std::filesystem::path temporary_path_;
    std::FILE* file_ = nullptr;
    bool created_ = false;
};

}  // namespace wfconv
