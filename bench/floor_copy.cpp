// The floor of the benchmark: what it costs to put the channel files' bytes into
// fresh files at all, copied from ready-made copies with plain read and write calls
// of 64 KiB, like dd bs=64k, in one process like the converter.
//
//   floor_copy SOURCE1 TARGET1 SOURCE2 TARGET2

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
    if (argc != 5) {
        std::fputs("usage: floor_copy SOURCE1 TARGET1 SOURCE2 TARGET2\n", stderr);
        return 1;
    }
    return copy(argv[1], argv[2]) && copy(argv[3], argv[4]) ? 0 : 1;
}
