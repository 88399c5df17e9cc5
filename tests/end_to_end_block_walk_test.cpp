// SPDX-License-Identifier: MIT
// The block walk (src/reader/block_walk), through the built program and the library:
// which blocks each channel's values come from.

#include <gtest/gtest.h>

#include "end_to_end.hpp"

namespace wfconv {
namespace {

using namespace e2e;  // the shared fixture and its files
using e2e::Waveform;  // not the library's

// Where each channel's data is taken from: start blocks at, before and after the
// reader, partial blocks, empty channels, and data the program never needs to read.
TEST_F(EndToEnd, BlockWalk) {
    const struct {
        const char* name;
        Waveform w;
        int first1, first2;
    } cases[] = {
        {"start 0", {first(0, 512), second(0, 256), 3}, 1, 3},
        {"negative starts", {first(-2, 256), second(-32768, 256), 2}, 1, 2},
        {"start 5, gap before channel 2", {first(5, 256), second(7, 512), 8}, 5, 7},
        {"channel 2 behind channel 1", {first(3, 512), second(2, 256), 5}, 3, 5},
        {"767 bytes are two blocks", {first(1, 767), second(0, 256), 3}, 1, 3},
        {"start 10 length 100, start 3 length 256", {first(10, 100), second(3, 256), 10}, 10, 10},
        {"lengths below 256", {first(1, 0), second(1, 255), 2}, 1, 2},
        {"partial block after channel 2", {first(1, 256), second(2, 256), 4, 3 * kBlock + 101}, 1, 2},
        {"empty channel 1 starts past the end", {first(20, 0), second(0, 0), 2}, 1, 1},
        {"large channels", {first(2, 32768), second(130, 65536), 385}, 2, 130},
        {"channels of 512 blocks and more", {first(3, 600 * 256), second(1, 512 * 256 + 200), 1114}, 3, 603},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = work_ / std::to_string(&c - cases);
        fs::create_directory(dir);
        const fs::path input = dir / "run7.dat";
        c.w.save(input);
        expect_success(input, c.w, c.first1, c.first2);
    }
}

}  // namespace
}  // namespace wfconv
