// SPDX-License-Identifier: MIT
#include "reader/block_reader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "memory_input.hpp"
#include "test_files.hpp"

namespace wfconv {
namespace {

// Every byte of block b holds b, so a block's content tells which one was read.
std::vector<std::uint8_t> numbered_blocks(int blocks, std::size_t tail) {
    std::vector<std::uint8_t> bytes;
    for (int b = 0; b <= blocks; ++b) {
        bytes.insert(bytes.end(), b < blocks ? kBlockSize : tail, static_cast<std::uint8_t>(b));
    }
    return bytes;
}

using test::MemoryInput;

// The tests run on both sources: the stream, and the same bytes in memory.
class BlockReaderOn : public ::testing::TestWithParam<bool> {
protected:
    static BlockReader reader_of(const MemoryInput& input) {
        if (GetParam()) return BlockReader(input.bytes());
        return BlockReader(input.get());
    }
};
INSTANTIATE_TEST_SUITE_P(BlockReader, BlockReaderOn, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "Stream"; });

bool block_is(const BlockReader& reader, std::uint8_t value, std::size_t valid = kBlockSize) {
    const Block block = reader.block();
    return std::all_of(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(valid),
                       [value](std::uint8_t b) { return b == value; });
}

// Whole blocks, then the short one with its byte count, then nothing; the index
// counts every read, empty ones included.
TEST_P(BlockReaderOn, ReadsWholeBlocksThenTheShortRest) {
    MemoryInput file(numbered_blocks(2, 44));
    BlockReader reader = reader_of(file);
    EXPECT_EQ(reader.next_index(), 0);
    const std::size_t expected[] = {256, 256, 44, 0, 0};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(reader.read_block(), expected[i]) << i;
        EXPECT_EQ(reader.next_index(), static_cast<std::int32_t>(i + 1));
        if (expected[i] > 0) {
            EXPECT_TRUE(block_is(reader, static_cast<std::uint8_t>(i), expected[i])) << i;
        }
    }
}

// After a short read, data that turns up later must not be read: it would land at
// the wrong block index.
TEST(BlockReader, ExhaustedStaysExhaustedWhenTheFileGrows) {
    const std::filesystem::path dir = test::make_scratch_dir("wfconv-reader-");
    const std::string name = (dir / "growing").string();
    std::FILE* writer = std::fopen(name.c_str(), "wb");
    ASSERT_NE(writer, nullptr);
    const std::vector<std::uint8_t> first = numbered_blocks(1, 10);
    std::fwrite(first.data(), 1, first.size(), writer);
    std::fflush(writer);

    std::FILE* input = std::fopen(name.c_str(), "rb");
    BlockReader reader(input);
    EXPECT_EQ(reader.read_block(), 256U);
    EXPECT_EQ(reader.read_block(), 10U);
    const std::vector<std::uint8_t> more(3 * kBlockSize, 0x55);
    std::fwrite(more.data(), 1, more.size(), writer);
    std::fflush(writer);
    EXPECT_EQ(reader.read_block(), 0U);
    EXPECT_EQ(reader.read_block(), 0U);
    EXPECT_EQ(reader.next_index(), 4);

    std::fclose(input);
    std::fclose(writer);
    test::remove_scratch_dir(dir);
}

// skip_to only moves forward: targets at or behind the index, zero and every
// negative one included, read nothing.
TEST_P(BlockReaderOn, SkipToMovesOnlyForward) {
    for (const std::int32_t target : {-32768, -1, 0, 1, 2, 5}) {
        MemoryInput file(numbered_blocks(8, 0));
        BlockReader reader = reader_of(file);
        reader.read_block();
        reader.skip_to(target);
        const std::int32_t landed = std::max(target, 1);
        EXPECT_EQ(reader.next_index(), landed) << target;
        EXPECT_EQ(reader.read_block(), kBlockSize);
        EXPECT_TRUE(block_is(reader, static_cast<std::uint8_t>(landed))) << target;

        reader.skip_to(landed);  // now behind
        EXPECT_EQ(reader.next_index(), landed + 1);
        reader.read_block();
        EXPECT_TRUE(block_is(reader, static_cast<std::uint8_t>(landed + 1))) << target;
    }
}

// Skipping past the end still counts the blocks it passed.
TEST_P(BlockReaderOn, SkipBeyondTheEndKeepsCounting) {
    MemoryInput file(numbered_blocks(3, 0));
    BlockReader reader = reader_of(file);
    reader.skip_to(10);
    EXPECT_EQ(reader.next_index(), 10);
    EXPECT_EQ(reader.read_block(), 0U);
    EXPECT_EQ(reader.next_index(), 11);
}

// Blocks numbered by their content, around the reader's 256-block fetches: every
// block comes whole and in order, then the short rest, then nothing.
TEST_P(BlockReaderOn, FetchBoundaries) {
    for (const std::size_t blocks : {255U, 256U, 257U, 511U, 512U, 513U}) {
        for (const std::size_t tail : {0U, 1U, 255U}) {
            std::vector<std::uint8_t> bytes;
            for (std::size_t b = 0; b <= blocks; ++b) bytes.insert(bytes.end(), b < blocks ? 256 : tail, static_cast<std::uint8_t>(b % 251));
            MemoryInput input(bytes);
            BlockReader reader = reader_of(input);
            bool in_order = true;
            for (std::size_t b = 0; b < blocks; ++b) {
                const std::size_t got = reader.read_block();
                const Block block = reader.block();
                in_order = in_order && got == 256 &&
                           std::all_of(block.begin(), block.end(), [b](std::uint8_t v) { return v == b % 251; });
            }
            EXPECT_TRUE(in_order) << blocks << " + " << tail;
            EXPECT_EQ(reader.read_block(), tail) << blocks << " + " << tail;
            if (tail > 0) {
                EXPECT_EQ(reader.block()[tail - 1], blocks % 251) << blocks << " + " << tail;
                EXPECT_EQ(reader.read_block(), 0U);
            }
            EXPECT_EQ(reader.read_block(), 0U);
            EXPECT_EQ(reader.next_index(), static_cast<std::int32_t>(blocks + (tail > 0 ? 3 : 2)));
        }
    }
}

// Skipping across fetches lands on the right block.
TEST_P(BlockReaderOn, SkipAcrossFetches) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t b = 0; b < 700; ++b) bytes.insert(bytes.end(), 256, static_cast<std::uint8_t>(b % 251));
    for (const std::int32_t target : {1, 255, 256, 257, 600, 699}) {
        MemoryInput input(bytes);
        BlockReader reader = reader_of(input);
        reader.read_block();
        reader.skip_to(target);
        EXPECT_EQ(reader.next_index(), target);
        EXPECT_EQ(reader.read_block(), 256U);
        EXPECT_EQ(reader.block()[0], target % 251) << target;
    }
}

}  // namespace
}  // namespace wfconv
