// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

#include "reader/header.hpp"
#include "text/csv_text.hpp"
#include "text/line_cache.hpp"

namespace wfconv {

// A column of a file's raw samples (big-endian 16-bit): a long channel's lines come
// from the line cache, as the command's do, a short one's are made afresh.
class RawColumn final : public CsvColumn {
public:
    RawColumn(std::span<const std::uint8_t> samples, const ChannelDescriptor& channel);

    [[nodiscard]] std::size_t size() const override { return samples_.size() / 2; }
    void lines(std::size_t first, std::size_t count, PackedLine* out) override;
    void values(std::size_t first, std::size_t count, float* out) override;

private:
    std::span<const std::uint8_t> samples_;
    ChannelDescriptor channel_;
    LineCache cache_;
    bool cached_ = false;
};

}  // namespace wfconv
