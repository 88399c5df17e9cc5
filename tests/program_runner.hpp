// SPDX-License-Identifier: MIT
#pragma once

// Starts the built program (or a command around it, such as valgrind) with its
// standard output and error captured in files, optionally in another working
// directory, and collects how it ended. Arguments are UTF-8 text on every platform.

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "test_files.hpp"

namespace wfconv::test {

struct ProgramResult {
    bool exited = false;  // false when it died from a signal or could not start
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32

// Quoted so that CommandLineToArgvW, and the C runtime's own parser, give it back
// unchanged: backslashes count only before a quote.
inline std::wstring command_line_argument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted.push_back(c);
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

#endif

class Program {
public:
    // argv[0] is the executable's path. Output goes to capture_dir/stdout and stderr.
    Program(const std::vector<std::string>& argv, const std::filesystem::path& capture_dir,
            const std::filesystem::path& cwd = {})
        : out_path_(capture_dir / "stdout"), err_path_(capture_dir / "stderr") {
#ifdef _WIN32
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const auto capture = [&](const std::filesystem::path& path) {
            return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        const HANDLE out = capture(out_path_);
        const HANDLE err = capture(err_path_);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out;
        startup.hStdError = err;
        std::wstring command;
        for (const std::string& arg : argv) {
            if (!command.empty()) command += L' ';
            command += command_line_argument(path_of_utf8(arg).wstring());
        }
        const std::wstring application = std::filesystem::absolute(path_of_utf8(argv.at(0))).wstring();
        PROCESS_INFORMATION started{};
        // Wine now and then fails to start a process while others start; a retry does.
        for (int attempt = 0; attempt < 5 && process_ == nullptr; ++attempt) {
            if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               cwd.empty() ? nullptr : cwd.c_str(), &startup, &started)) {
                process_ = started.hProcess;
                CloseHandle(started.hThread);
            }
        }
        CloseHandle(out);
        CloseHandle(err);
#else
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        std::vector<char*> args;
        args.reserve(argv.size() + 1);
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        if (posix_spawn(&pid_, argv.at(0).c_str(), &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
#endif
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { wait(); }

#ifdef _WIN32
    [[nodiscard]] bool started() const { return process_ != nullptr; }

    bool ends_within(std::chrono::milliseconds limit) {
        return process_ == nullptr || WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    }

    ProgramResult wait() {
        ProgramResult result;
        if (process_ == nullptr) return result;
        WaitForSingleObject(process_, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        CloseHandle(process_);
        process_ = nullptr;
        // A crash ends the process with its exception code, an NTSTATUS error (0xC...).
        constexpr DWORD kErrorSeverity = 0xC0000000;
        result.exited = (code & kErrorSeverity) != kErrorSeverity;
        result.status = result.exited ? static_cast<int>(code) : -1;
        collect(result);
        if (!result.exited) result.err += "ended with exception code " + std::to_string(code);
        return result;
    }
#else
    [[nodiscard]] bool started() const { return pid_ > 0; }

    // Whether the program ends within the time given; wait() then collects it.
    bool ends_within(std::chrono::milliseconds limit) {
        for (auto waited = std::chrono::milliseconds{0}; waited < limit; waited += std::chrono::milliseconds{10}) {
            int wait_status = 0;
            if (pid_ <= 0 || waitpid(pid_, &wait_status, WNOHANG) == pid_) {
                ended_status_ = wait_status;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
        return false;
    }

    ProgramResult wait() {
        ProgramResult result;
        if (pid_ <= 0) return result;
        int wait_status = ended_status_.value_or(0);
        while (!ended_status_ && waitpid(pid_, &wait_status, 0) < 0 && errno == EINTR) {
        }
        ended_status_.reset();
        pid_ = -1;
        result.exited = WIFEXITED(wait_status);
        result.status = result.exited ? WEXITSTATUS(wait_status) : -1;
        collect(result);
        return result;
    }
#endif

private:
    void collect(ProgramResult& result) const {
        // A capture may stand for a device (/dev/full for a full disk): nothing to read back.
        const auto captured = [](const std::filesystem::path& path) {
            return std::filesystem::is_regular_file(path) ? read_file(path) : std::string();
        };
        result.out = captured(out_path_);
        result.err = captured(err_path_);
    }

    std::filesystem::path out_path_;
    std::filesystem::path err_path_;
#ifdef _WIN32
    HANDLE process_ = nullptr;
#else
    pid_t pid_ = -1;
    std::optional<int> ended_status_;  // set when ends_within() already reaped the program
#endif
};

// A built program with its arguments, behind the emulator that runs it where the
// tests themselves run under one (qemu-user; under Wine the tests start it themselves).
inline std::vector<std::string> program_command(const char* program, const std::vector<std::string>& args) {
    std::vector<std::string> command{
#ifdef WFCONV_EMULATOR
        WFCONV_EMULATOR,
#endif
        program};
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

inline std::vector<std::string> wfconv_command(std::initializer_list<std::string> args) {
    return program_command(WFCONV_EXE, args);
}

inline ProgramResult run_program(const std::vector<std::string>& argv, const std::filesystem::path& capture_dir,
                                 const std::filesystem::path& cwd = {}) {
    Program program(argv, capture_dir, cwd);
    return program.wait();
}

}  // namespace wfconv::test
