// SPDX-License-Identifier: MIT
// The library's front end (src/reader/read_waveform) on inputs that yield no
// values: each outcome beside the command's status for the same input.

#include <gtest/gtest.h>

#include "end_to_end.hpp"

namespace wfconv {
namespace {

using namespace e2e;  // the shared fixture and its files
using e2e::Waveform;  // not the library's

// No argument: nothing at all, status 1; an input that cannot be opened: one
// line, status 2, no file.
TEST_F(EndToEnd, MissingOrUnopenableInput) {
    expect_run(work_ / "none", run({}), {1, "", std::nullopt, std::nullopt});
    expect_run("", run({""}), {2, "Cannot open \r\n", std::nullopt, std::nullopt});
    const fs::path missing = work_ / "absent.wfm";
    expect_run(missing, run({missing.string()}), {2, "Cannot open " + missing.string() + "\r\n", std::nullopt, std::nullopt});
    EXPECT_TRUE(fs::is_empty(work_));
}

// An input that opens but holds less than a header block creates no file.
TEST_F(EndToEnd, InputShorterThanAHeader) {
    const fs::path empty = work_ / "empty.wfm";
    const fs::path short_file = work_ / "short.wfm";
    const fs::path directory = work_ / "dir.wfm";
    Waveform{first(1, 256), second(1, 256), 0, 0}.save(empty);
    Waveform{first(1, 256), second(1, 256), 0, kBlock - 1}.save(short_file);
    fs::create_directory(directory);
    for (const fs::path& input : {empty, short_file, directory}) {
        SCOPED_TRACE(input);
        expect_run(input, run({input.string()}), {2, "Cannot read " + input.string() + "\r\n", std::nullopt, std::nullopt});
    }
}

}  // namespace
}  // namespace wfconv
