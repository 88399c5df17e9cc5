// SPDX-License-Identifier: MIT
// The conversion written the plain way, the program a user would write instead of
// wfconv, for the benchmark to measure it against: C stdio streams with their default
// buffers, 256-byte freads, one printf-style call per line ("%11.4e\r\n"). The
// arithmetic is the program's own (scale_sample), so the files come out the same for
// every finite value. Assumes a well-formed input; it checks nothing.
//
// It needs nothing of the C++ runtime (no std::string, no new) and the arithmetic
// nothing of the maths library, so, like a C stdio program, it loads only the C
// library: its start-up is the one wfconv must beat. run.sh refuses to race a build
// of it that loads anything else.
//
//   wfconv_baseline INPUT

#include <array>
#include <cstdint>
#include <cstdio>

#include "reader/big_endian.hpp"
#include "reader/header.hpp"
#include "reader/sample_math.hpp"

namespace {

using Buffer = std::array<std::uint8_t, wfconv::kBlockSize>;
using Name = std::array<char, 4096>;

void convert(std::FILE* input, Buffer& block, const wfconv::ChannelDescriptor& channel, std::FILE* output,
             std::int32_t& next_index) {
    for (std::int32_t b = 0; b < channel.block_count(); ++b) {
        // Whole blocks only: the bench races complete files, where every read is whole.
        if (std::fread(block.data(), 1, block.size(), input) != block.size()) return;
        ++next_index;
        for (std::size_t k = 0; k < wfconv::kSamplesPerBlock; ++k) {
            const float value = wfconv::scale_sample(wfconv::decode_be16(block, 2 * k), channel.scale, channel.offset);
            std::fprintf(output, "%11.4e\r\n", static_cast<double>(value));
        }
    }
}

void skip_to(std::FILE* input, Buffer& block, std::int32_t target, std::int32_t& next_index) {
    for (; next_index < target; ++next_index) {
        if (std::fread(block.data(), 1, block.size(), input) != block.size()) return;
    }
}

// PATH followed by "1.txt" or "2.txt"; false when it does not fit.
bool channel_name(Name& name, const char* path, int channel) {
    const int length = std::snprintf(name.data(), name.size(), "%s%d.txt", path, channel);
    return length > 0 && static_cast<std::size_t>(length) < name.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const char* path = argv[1];
    std::FILE* input = std::fopen(path, "rb");
    if (input == nullptr) return 2;
    Buffer block{};
    if (std::fread(block.data(), 1, block.size(), input) != block.size()) return 2;
    std::int32_t next_index = 1;
    const wfconv::WaveformHeader header = wfconv::decode_header(block);
    std::printf("%d %d %d %d\r\n", header.channel1.start_block, header.channel2.start_block,
                header.channel1.byte_length, header.channel2.byte_length);
    std::printf("%e %e\r\n", static_cast<double>(header.channel1.scale), static_cast<double>(header.channel2.scale));
    std::printf("%e %e\r\n", static_cast<double>(header.channel1.offset), static_cast<double>(header.channel2.offset));

    Name name1{};
    if (!channel_name(name1, path, 1)) return 1;
    std::printf("converting : %s -> %s\r\n", path, name1.data());
    std::FILE* output1 = std::fopen(name1.data(), "wb");
    if (output1 == nullptr) return 1;
    skip_to(input, block, header.channel1.start_block, next_index);
    convert(input, block, header.channel1, output1, next_index);
    std::fclose(output1);

    skip_to(input, block, header.channel2.start_block, next_index);
    Name name2{};
    if (!channel_name(name2, path, 2)) return 1;
    std::printf("converting : %s -> %s\r\n", path, name2.data());
    std::FILE* output2 = std::fopen(name2.data(), "wb");
    if (output2 == nullptr) return 1;
    convert(input, block, header.channel2, output2, next_index);
    std::fclose(output2);
    std::fclose(input);
    return 0;
}
