// SPDX-License-Identifier: MIT
// A channel's values (src/reader/channel_values) when the input ends inside it:
// the whole samples that arrived, as in the command's channel file.

#include <gtest/gtest.h>

#include <algorithm>

#include "end_to_end.hpp"

namespace wfconv {
namespace {

using namespace e2e;  // the shared fixture and its files
using e2e::Waveform;  // not the library's

// A file that ends before a channel's last sample: the whole samples that arrived
// are written, then "Unexpected end of", status 3, and nothing more is done.
TEST_F(EndToEnd, InputEndsEarly) {
    const struct {
        const char* name;
        Waveform w;
        int lines1, lines2;
    } cases[] = {
        {"101 bytes into channel 1", {first(1, 512), second(3, 256), 3, kBlock + 101}, 50, -1},
        {"1 byte into channel 1's second block", {first(1, 512), second(3, 256), 3, 2 * kBlock + 1}, 128, -1},
        {"before channel 1's start", {first(5, 256), second(6, 256), 6, 3 * kBlock}, 0, -1},
        {"101 bytes into channel 2's second block", {first(1, 256), second(2, 512), 3, 3 * kBlock + 101}, 128, 178},
        {"right after channel 1", {first(1, 256), second(4, 256), 4, 2 * kBlock}, 128, 0},
        {"inside a channel 2 of 600 blocks", {first(1, 256), second(2, 600 * 256), 601, 402 * kBlock + 101}, 128,
         400 * 128 + 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "cut.wfm";
        c.w.save(input);
        std::string out = report(c.w) + converting(input, 1);
        std::optional<std::string> channel2;
        if (c.lines2 >= 0) {
            out += converting(input, 2);
            channel2 = channel_text(c.w.channel2.start_block, c.lines2, c.w.channel2);
        }
        out += "Unexpected end of " + input.string() + "\r\n";
        expect_run(input, run({input.string()}),
                   {3, out, channel_text(std::max<int>(c.w.channel1.start_block, 1), c.lines1, c.w.channel1), channel2});
    }
}

}  // namespace
}  // namespace wfconv
