// SPDX-License-Identifier: MIT
// Reads a waveform file with the wfconv library and prints each channel: its number of
// values, then one value a line in the channel files' "%11.4e" form.
//
//   read_example FILE

#include <cstdio>
#include <vector>

#include <wfconv/wfconv.hpp>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_example FILE\n");
        return 2;
    }
    const wfconv::ReadResult result = wfconv::read_waveform(argv[1]);
    if (result.outcome == wfconv::ReadOutcome::cannot_open || result.outcome == wfconv::ReadOutcome::read_failed) {
        std::fprintf(stderr, "%s: %s\n", argv[1], result.error.message().c_str());
        return 1;
    }
    if (result.outcome != wfconv::ReadOutcome::complete) {
        std::fprintf(stderr, "%s: not a whole waveform file\n", argv[1]);
        return 1;
    }
    for (const std::vector<float>* channel : {&result.waveform.channel1, &result.waveform.channel2}) {
        std::printf("%zu values\n", channel->size());
        for (const float value : *channel) std::printf("%11.4e\n", static_cast<double>(value));
    }
    return 0;
}
