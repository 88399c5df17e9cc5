// SPDX-License-Identifier: MIT
#include "csv/csv_file.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <semaphore>
#include <string>
#include <system_error>
#include <thread>

#include "cli/exit_status.hpp"
#include "cli/replacing_file.hpp"
#include "cli/same_file.hpp"
#include "reader/open_file.hpp"
#include "reader/utf8_path.hpp"
#include "wfconv/wfconv.hpp"

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

// Rows are formatted this many at a time into a buffer and written in one call (about
// 2 MiB of text; room for 6 MiB): few hand-overs between the formatting thread and the
// writing one, each of which waits for the other to be scheduled on a busy machine.
constexpr std::size_t kRowsPerWrite = 65536;
constexpr std::size_t kBufferSize = kRowsPerWrite * kMaxCsvRowSize;

bool write_all(std::FILE* file, const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

// A long table is formatted on a second thread a buffer ahead of the writing on this
// one, so that the formatting costs little time beside the writing.
class SteppedWriter {
public:
    SteppedWriter(const Waveform& waveform, const CsvOptions& options)
        : rows_(waveform, options), count_(csv_row_count(waveform)),
          chunks_((count_ + kRowsPerWrite - 1) / kRowsPerWrite) {
        for (Buffer& buffer : buffers_) buffer.text = std::make_unique<char[]>(kBufferSize);
    }

    bool write(std::FILE* file) {
        {
            const std::jthread formatter([this] { format(); });
            for (std::size_t chunk = 0; chunk < chunks_ && ok_; ++chunk) {
                Buffer& buffer = buffers_[chunk % buffers_.size()];
                buffer.full.acquire();
                ok_ = write_all(file, buffer.text.get(), buffer.size);
                buffer.empty.release();
            }
            // A failed write stops the formatter at its next chunk.
            if (!ok_) {
                for (Buffer& buffer : buffers_) buffer.empty.release();
            }
        }
        return ok_;
    }

private:
    struct Buffer {
        std::unique_ptr<char[]> text;
        std::size_t size = 0;
        std::binary_semaphore empty{1};
        std::binary_semaphore full{0};
    };

    void format() {
        for (std::size_t chunk = 0; chunk < chunks_; ++chunk) {
            Buffer& buffer = buffers_[chunk % buffers_.size()];
            buffer.empty.acquire();
            if (!ok_) return;
            const std::size_t first = chunk * kRowsPerWrite;
            char* const text = buffer.text.get();
            buffer.size = static_cast<std::size_t>(rows_.write(first, std::min(count_, first + kRowsPerWrite), text) - text);
            buffer.full.release();
        }
    }

    CsvRows rows_;
    std::size_t count_;
    std::size_t chunks_;
    std::array<Buffer, 2> buffers_;
    std::atomic<bool> ok_{true};
};

bool write_csv(std::FILE* file, const Waveform& waveform, const CsvOptions& options) {
    const std::string header = csv_header_row(options);
    if (!write_all(file, header.data(), header.size())) return false;
    const std::size_t count = csv_row_count(waveform);
    if (count > kRowsPerWrite) return SteppedWriter(waveform, options).write(file);
    // A short table: a second thread would cost more than it saves.
    const std::unique_ptr<char[]> buffer = std::make_unique<char[]>(kBufferSize);
    const char* const end = CsvRows(waveform, options).write(0, count, buffer.get());
    return write_all(file, buffer.get(), static_cast<std::size_t>(end - buffer.get()));
}

}  // namespace

CsvFileResult convert_to_csv(const std::string& input, const std::string& output, const CsvOptions& options) {
    CsvFileResult result;
    const ReadResult read = read_waveform(path_from_utf8(input));
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
