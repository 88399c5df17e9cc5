// SPDX-License-Identifier: MIT
// The floor of the benchmark: what it costs to put the channel files' bytes into
// fresh files at all, copied from ready-made copies with plain read and write calls
// of 64 KiB, like dd bs=64k, in one process per input like the converter.
//
//   floor_copy INPUT    copies INPUT.reference1.txt and INPUT.reference2.txt, which
//                       the race keeps from the baseline, to INPUT1.txt and INPUT2.txt

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>

namespace {

bool copy(const char* source, const char* target) {
    const int in = open(source, O_RDONLY);
    if (in < 0) return false;
    const int out = open(target, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) {
        close(in);
        return false;
    }
    static std::array<char, 65536> buffer;  // dd bs=64k
    bool ok = true;
    for (;;) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put <= 0) return false;
            done += put;
        }
    }
    close(in);
    return close(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: floor_copy INPUT\n", stderr);
        return 1;
    }
    // Plain char arrays, like the baseline: nothing of the C++ runtime to load.
    std::array<char, 4096> source{};
    std::array<char, 4096> target{};
    for (const int channel : {1, 2}) {
        std::snprintf(source.data(), source.size(), "%s.reference%d.txt", argv[1], channel);
        std::snprintf(target.data(), target.size(), "%s%d.txt", argv[1], channel);
        if (!copy(source.data(), target.data())) return 1;
    }
    return 0;
}
