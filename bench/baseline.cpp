// The conversion written the plain way, for the benchmark to measure wfconv against:
// stdio streams with their default buffers, 256-byte reads, one fprintf per line.
// The arithmetic is the program's own (scale_sample), so the files come out the same
// for every finite value. Assumes a well-formed input; it checks nothing.
//
//   wfconv_baseline INPUT

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "convert/sample_math.hpp"
#include "format/big_endian.hpp"
#include "format/header.hpp"

namespace {

using Buffer = std::array<std::uint8_t, wfconv::kBlockSize>;

void convert(std::FILE* input, Buffer& block, const wfconv::ChannelDescriptor& channel, std::FILE* output,
             std::int32_t& next_index) {
    for (std::int32_t b = 0; b < channel.block_count(); ++b) {
        std::fread(block.data(), 1, block.size(), input);
        ++next_index;
        for (std::size_t k = 0; k < wfconv::kSamplesPerBlock; ++k) {
            const float value = wfconv::scale_sample(wfconv::decode_be16(block, 2 * k), channel.scale, channel.offset);
            std::fprintf(output, "%11.4e\r\n", static_cast<double>(value));
        }
    }
}

void skip_to(std::FILE* input, Buffer& block, std::int32_t target, std::int32_t& next_index) {
    for (; next_index < target; ++next_index) std::fread(block.data(), 1, block.size(), input);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string path = argv[1];
    std::FILE* input = std::fopen(path.c_str(), "rb");
    if (input == nullptr) return 2;
    Buffer block{};
    std::fread(block.data(), 1, block.size(), input);
    std::int32_t next_index = 1;
    const wfconv::WaveformHeader header = wfconv::decode_header(block);
    std::printf("%d %d %d %d\r\n", header.channel1.start_block, header.channel2.start_block,
                header.channel1.byte_length, header.channel2.byte_length);
    std::printf("%e %e\r\n", static_cast<double>(header.channel1.scale), static_cast<double>(header.channel2.scale));
    std::printf("%e %e\r\n", static_cast<double>(header.channel1.offset), static_cast<double>(header.channel2.offset));

    const std::string name1 = path + "1.txt";
    std::printf("converting : %s -> %s\r\n", path.c_str(), name1.c_str());
    std::FILE* output1 = std::fopen(name1.c_str(), "wb");
    if (output1 == nullptr) return 1;
    skip_to(input, block, header.channel1.start_block, next_index);
    convert(input, block, header.channel1, output1, next_index);
    std::fclose(output1);

    skip_to(input, block, header.channel2.start_block, next_index);
    const std::string name2 = path + "2.txt";
    std::printf("converting : %s -> %s\r\n", path.c_str(), name2.c_str());
    std::FILE* output2 = std::fopen(name2.c_str(), "wb");
    if (output2 == nullptr) return 1;
    convert(input, block, header.channel2, output2, next_index);
    std::fclose(output2);
    std::fclose(input);
    return 0;
}
