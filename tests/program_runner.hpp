#pragma once

// Starts the built program (or a command around it, such as valgrind) with its
// standard output and error captured in files, optionally in another working
// directory, and collects how it ended.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wfconv::test {

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ProgramResult {
    bool exited = false;  // false when it died from a signal or could not start
    int status = -1;
    std::string out;
    std::string err;
};

class Program {
public:
    // argv[0] is the executable's path. Output goes to capture_dir/stdout and stderr.
    Program(const std::vector<std::string>& argv, const std::filesystem::path& capture_dir,
            const std::filesystem::path& cwd = {})
        : out_path_(capture_dir / "stdout"), err_path_(capture_dir / "stderr") {
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
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { wait(); }

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
        // A capture may stand for a device (/dev/full for a full disk): nothing to read back.
        const auto captured = [](const std::filesystem::path& path) {
            return std::filesystem::is_regular_file(path) ? read_file(path) : std::string();
        };
        result.out = captured(out_path_);
        result.err = captured(err_path_);
        return result;
    }

private:
    std::filesystem::path out_path_;
    std::filesystem::path err_path_;
    pid_t pid_ = -1;
    std::optional<int> ended_status_;  // set when ends_within() already reaped the program
};

inline ProgramResult run_program(const std::vector<std::string>& argv, const std::filesystem::path& capture_dir,
                                 const std::filesystem::path& cwd = {}) {
    Program program(argv, capture_dir, cwd);
    return program.wait();
}

}  // namespace wfconv::test
