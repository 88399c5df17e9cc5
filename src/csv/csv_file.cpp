// SPDX-License-Identifier: MIT
#include "csv/csv_file.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <system_error>
#include <thread>

#include "cli/exit_status.hpp"
#include "cli/replacing_file.hpp"
#include "cli/same_file.hpp"
#include "csv/raw_column.hpp"
#include "csv/raw_waveform.hpp"
#include "reader/open_file.hpp"
#include "reader/utf8_path.hpp"

namespace wfconv {

namespace {

void add_message(CsvFileResult& result, const std::string& path, const std::string& reason) {
    result.messages += "wfconv-csv: " + path + ": " + reason + "\r\n";
}

// A link to the input under the CSV's name would lose the input's name to the CSV.
bool names_the_input(const std::string& input, const std::string& output) {
    std::FILE* file = open_file(path_from_utf8(input), FileMode::read);
    if (file == nullptr) return false;
    const bool same = is_same_file(file, path_from_utf8(output));
    std::fclose(file);
    return same;
}

// Rows are formatted this many at a time into a buffer and written in one call: about
// 2 MiB of text. Fewer, larger stretches mean fewer moves of the line caches, which
// both threads read, from one core's cache to the other's.
constexpr std::size_t kRowsPerWrite = 65536;
constexpr std::size_t kBufferSize = kRowsPerWrite * kMaxCsvRowSize;

bool write_all(std::FILE* file, const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

// A long table is written by two threads in turns: each formats every other stretch of
// rows while the other writes the one before, then writes its own. The thread that
// formatted a stretch writes it, so the text is copied from the cache it was made in.
class TurnTakingWriter {
public:
    TurnTakingWriter(std::FILE* file, CsvRows& rows)
        : file_(file), rows_(rows), count_(rows.size()), chunks_((count_ + kRowsPerWrite - 1) / kRowsPerWrite) {}

    bool write() {
        {
            const std::jthread second([this] { take_turns(1); });
            take_turns(0);
        }
        return ok_;
    }

private:
    void take_turns(std::size_t thread) {
        // Plain new leaves the buffer uninitialised: only the pages written are touched.
        const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
        for (std::size_t chunk = thread; chunk < chunks_; chunk += 2) {
            const std::size_t first = chunk * kRowsPerWrite;
            const std::size_t last = std::min(count_, first + kRowsPerWrite);
            std::size_t size = 0;
            if (ok_) size = static_cast<std::size_t>(format(first, last, buffer.get()) - buffer.get());
            turns_[thread].acquire();
            if (ok_ && !write_all(file_, buffer.get(), size)) ok_ = false;
            turns_[1 - thread].release();
        }
    }

    // One thread at a time: the rows keep state (the sample number, the line caches).
    char* format(std::size_t first, std::size_t last, char* out) {
        const std::lock_guard lock(rows_mutex_);
        return rows_.write(first, last, out);
    }

    std::FILE* file_;
    CsvRows& rows_;
    std::mutex rows_mutex_;
    std::size_t count_;
    std::size_t chunks_;
    std::array<std::binary_semaphore, 2> turns_{std::binary_semaphore{1}, std::binary_semaphore{0}};
    std::atomic<bool> ok_{true};
};

bool write_csv(std::FILE* file, const RawWaveform& waveform, const CsvOptions& options) {
    const std::string header = csv_header_row(options);
    if (!write_all(file, header.data(), header.size())) return false;
    RawColumn channel1(waveform.channel1, waveform.header.channel1);
    RawColumn channel2(waveform.channel2, waveform.header.channel2);
    CsvRows rows(channel1, channel2, options);
    const std::size_t count = rows.size();
    if (count > kRowsPerWrite) return TurnTakingWriter(file, rows).write();
    // A short table: a second thread would cost more than it saves.
    const std::unique_ptr<char[]> buffer(new char[count * kMaxCsvRowSize]);
    const char* const end = rows.write(0, count, buffer.get());
    return write_all(file, buffer.get(), static_cast<std::size_t>(end - buffer.get()));
}

}  // namespace

CsvFileResult convert_to_csv(const std::string& input, const std::string& output, const CsvOptions& options) {
    CsvFileResult result;
    const RawReadResult read = read_raw_waveform(path_from_utf8(input));
    switch (read.outcome) {
    case ReadOutcome::complete:
        break;
    case ReadOutcome::cannot_open:
        add_message(result, input, "cannot open: " + read.error.message());
        result.status = kInputFailure;
        return result;
    case ReadOutcome::too_short:
        add_message(result, input, "shorter than its 256-byte header block");
        result.status = kInputFailure;
        return result;
    case ReadOutcome::read_failed:
        // The rows that were read are still written, as the command keeps their lines.
        add_message(result, input, "cannot read: " + read.error.message());
        result.status = kInputFailure;
        break;
    case ReadOutcome::ended_early:
        add_message(result, input,
                    "ends before channel " + std::to_string(read.cut_channel) + "'s last sample");
        result.status = kInputEndedEarly;
        break;
    }

    if (names_the_input(input, output)) {
        add_message(result, output, "is the input file itself; not replaced");
        result.status = kUsageOrOutputFailure;
        return result;
    }
    ReplacingFile csv(path_from_utf8(output));
    std::error_code error;
    std::FILE* file = csv.open(error);
    bool written = file != nullptr;
    if (written) {
        // Whole buffers of rows are handed over already; a second buffer would only copy.
        std::setvbuf(file, nullptr, _IONBF, 0);
        written = write_csv(file, read.waveform, options);
        // A failed write without a reason must still fail.
        if (!written) error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    }
    if (!written || !csv.commit(error)) {
        add_message(result, output, "cannot write: " + error.message());
        result.status = kUsageOrOutputFailure;
    }
    return result;
}

}  // namespace wfconv
