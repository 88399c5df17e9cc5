// SPDX-License-Identifier: MIT
#include "csv/csv_driver.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/exit_status.hpp"
#include "cli/terminal.hpp"
#include "csv/csv_arguments.hpp"
#include "csv/csv_file.hpp"
#include "reader/utf8_path.hpp"

namespace wfconv {

namespace {

// Every console line ends in CR LF, like the command's.
void write_text(std::FILE* stream, std::string_view text) {
    std::string lines;
    for (const char c : text) {
        if (c == '\n') lines += '\r';
        lines += c;
    }
    std::fwrite(lines.data(), 1, lines.size(), stream);
}

// FILE's CSV name: FILE.csv beside it, or its last component with .csv in the directory.
std::string csv_name(const std::string& input, const std::string& output_dir) {
    if (output_dir.empty()) return input + ".csv";
#ifdef _WIN32
    constexpr std::string_view kSeparators = "/\\";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    const std::size_t last_separator = input.find_last_of(kSeparators);
    const std::string base = last_separator == std::string::npos ? input : input.substr(last_separator + 1);
    const bool ends_in_separator = kSeparators.find(output_dir.back()) != std::string_view::npos;
    return output_dir + (ends_in_separator ? "" : "/") + base + ".csv";
}

// The line "[12/300] name" that rewrites itself on a terminal.
class Progress {
public:
    explicit Progress(std::size_t total) : total_(total), shown_(total > 1 && stderr_is_terminal()) {}

    void show(std::size_t done, const std::string& name) {
        if (!shown_) return;
        // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) of "[" + a string.
        std::string line(1, '[');
        line.append(std::to_string(done)).append(1, '/').append(std::to_string(total_)).append("] ").append(name);
        // Spaces cover what is left of a longer line before.
        const std::size_t cover = width_ > line.size() ? width_ - line.size() : 0;
        std::fprintf(stderr, "\r%s%s", line.c_str(), std::string(cover, ' ').c_str());
        width_ = line.size();
        std::fflush(stderr);
    }
    // Clears the line, so that a message or the shell's prompt starts at the margin.
    void clear() {
        if (!shown_ || width_ == 0) return;
        std::fprintf(stderr, "\r%s\r", std::string(width_, ' ').c_str());
        width_ = 0;
    }

private:
    std::size_t total_;
    bool shown_;
    std::size_t width_ = 0;
};

struct Job {
    std::string input;
    std::string output;
    std::string refusal;  // not converted, for this reason
    CsvFileResult result;
    bool done = false;
};

// Workers take the files in order, each whole file at a time; the calling thread
// reports them in that same order, so that a run says the same whatever the timing.
int convert_all(std::vector<Job>& jobs, const CsvOptions& options) {
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t at = next++; at < jobs.size(); at = next++) {
            Job& job = jobs[at];
            CsvFileResult result = job.refusal.empty() ? convert_to_csv(job.input, job.output, options)
                                                       : CsvFileResult{kUsageOrOutputFailure, job.refusal};
            const std::lock_guard lock(mutex);
            job.result = std::move(result);
            job.done = true;
            finished.notify_one();
        }
    };
    const std::size_t workers =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, std::max<std::size_t>(jobs.size(), 1));
    // Even one worker runs beside this thread, so that the progress line moves.
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(work);

    Progress progress(jobs.size());
    int status = kSuccess;
    for (std::size_t at = 0; at < jobs.size(); ++at) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return jobs[at].done; });
        const CsvFileResult& result = jobs[at].result;
        lock.unlock();
        if (!result.messages.empty()) {
            progress.clear();
            std::fwrite(result.messages.data(), 1, result.messages.size(), stderr);
        }
        if (status == kSuccess) status = result.status;
        progress.show(at + 1, jobs[at].input);
    }
    progress.clear();
    return status;
}

}  // namespace

int run_csv(int argc, const char* const* argv) {
    const CsvArguments arguments = parse_csv_arguments(argc, argv);
    switch (arguments.action) {
    case CsvAction::help:
        write_text(stdout, csv_usage());
        return std::fflush(stdout) == 0 ? kSuccess : kUsageOrOutputFailure;
    case CsvAction::version:
        write_text(stdout, "wfconv-csv " WFCONV_VERSION "\n");
        return std::fflush(stdout) == 0 ? kSuccess : kUsageOrOutputFailure;
    case CsvAction::usage_error:
        write_text(stderr, "wfconv-csv: " + arguments.error + "\nUsage: wfconv-csv [OPTIONS] FILE...\n" +
                               "Try 'wfconv-csv --help' for more information.\n");
        return kUsageOrOutputFailure;
    case CsvAction::convert:
        break;
    }

    if (!arguments.output_dir.empty()) {
        // Made when missing; where it cannot be, each file's write says why.
        std::error_code ignored;
        std::filesystem::create_directories(path_from_utf8(arguments.output_dir), ignored);
    }
    std::vector<Job> jobs(arguments.files.size());
    std::set<std::string> outputs;
    for (std::size_t at = 0; at < jobs.size(); ++at) {
        jobs[at].input = arguments.files[at];
        jobs[at].output = csv_name(jobs[at].input, arguments.output_dir);
        // Two files converted at once into one name would leave either; neither is
        // written over by the other.
        if (!outputs.insert(jobs[at].output).second) {
            jobs[at].refusal = "wfconv-csv: " + jobs[at].output + ": the CSV of an earlier file; not written again\r\n";
        }
    }
    const int status = convert_all(jobs, arguments.options);
    std::fflush(stderr);
    return status;
}

}  // namespace wfconv
