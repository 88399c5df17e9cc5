// SPDX-License-Identifier: MIT
// The C interface: read_waveform's result moved into one allocation that C callers hold
// by its first part, the documented struct. No exception leaves these functions.

#include "wfconv/wfconv.h"

#include <cerrno>
#include <cstddef>
#include <new>
#include <span>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "reader/utf8_path.hpp"
#include "wfconv/wfconv.hpp"

namespace {

// Other languages declare these structs by hand: hold the layout to the header's order
// with each member at its natural alignment, on 32-bit and 64-bit platforms alike.
constexpr std::size_t aligned(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}
static_assert(std::is_standard_layout_v<wfconv_channel> && std::is_standard_layout_v<wfconv_waveform>);
static_assert(sizeof(wfconv_outcome) == sizeof(int), "an enum is an int to every C compiler and FFI");
static_assert(offsetof(wfconv_channel, start_block) == 0 && offsetof(wfconv_channel, byte_length) == 4 &&
              offsetof(wfconv_channel, scale) == 8 && offsetof(wfconv_channel, offset) == 12);
static_assert(offsetof(wfconv_channel, values) == aligned(16, alignof(const float*)) &&
              offsetof(wfconv_channel, count) == offsetof(wfconv_channel, values) + sizeof(const float*) &&
              sizeof(wfconv_channel) == offsetof(wfconv_channel, count) + sizeof(std::size_t));
static_assert(offsetof(wfconv_waveform, error) == sizeof(int) &&
              offsetof(wfconv_waveform, channel1) == aligned(2 * sizeof(int), alignof(wfconv_channel)) &&
              offsetof(wfconv_waveform, channel2) == offsetof(wfconv_waveform, channel1) + sizeof(wfconv_channel) &&
              sizeof(wfconv_waveform) == offsetof(wfconv_waveform, channel2) + sizeof(wfconv_channel));
static_assert(static_cast<int>(wfconv::ReadOutcome::complete) == WFCONV_COMPLETE &&
              static_cast<int>(wfconv::ReadOutcome::cannot_open) == WFCONV_CANNOT_OPEN &&
              static_cast<int>(wfconv::ReadOutcome::too_short) == WFCONV_TOO_SHORT &&
              static_cast<int>(wfconv::ReadOutcome::read_failed) == WFCONV_READ_FAILED &&
              static_cast<int>(wfconv::ReadOutcome::ended_early) == WFCONV_ENDED_EARLY);

// The caller's pointer is to the base; wfconv_free casts back to what was allocated. What
// the documented struct cannot hold without changing its layout lives here too.
struct OwnedWaveform : wfconv_waveform {
    std::vector<float> channel1_values;
    std::vector<float> channel2_values;
    int cut_channel = 0;
};

wfconv_channel c_channel(const wfconv::ChannelDescriptor& descriptor, const std::vector<float>& values) {
    return {descriptor.start_block, descriptor.byte_length, descriptor.scale, descriptor.offset,
            values.empty() ? nullptr : values.data(), values.size()};
}

wfconv_waveform* c_waveform(wfconv::ReadResult&& result) {
    auto* owned = new (std::nothrow) OwnedWaveform{};
    if (owned == nullptr) return nullptr;
    owned->channel1_values = std::move(result.waveform.channel1);
    owned->channel2_values = std::move(result.waveform.channel2);
    owned->outcome = static_cast<wfconv_outcome>(result.outcome);
    owned->error = result.error.value();
    owned->cut_channel = result.cut_channel;
    owned->channel1 = c_channel(result.waveform.header.channel1, owned->channel1_values);
    owned->channel2 = c_channel(result.waveform.header.channel2, owned->channel2_values);
    return owned;
}

// A caller's null pointer is refused as open() refuses a bad address.
wfconv_waveform* refused() {
    wfconv::ReadResult result;
    result.outcome = wfconv::ReadOutcome::cannot_open;
    result.error = std::make_error_code(std::errc::invalid_argument);
    return c_waveform(std::move(result));
}

}  // namespace

extern "C" {

wfconv_waveform* wfconv_read_file(const char* path) {
    if (path == nullptr) return refused();
    try {
        return c_waveform(wfconv::read_waveform(wfconv::path_from_utf8(path)));
    } catch (...) {  // only allocation throws in here
        return nullptr;
    }
}

wfconv_waveform* wfconv_read_memory(const void* data, size_t size) {
    if (data == nullptr && size != 0) return refused();
    try {
        return c_waveform(wfconv::read_waveform(std::span(static_cast<const std::uint8_t*>(data), size)));
    } catch (...) {  // only allocation throws in here
        return nullptr;
    }
}

void wfconv_free(wfconv_waveform* waveform) {
    delete static_cast<OwnedWaveform*>(waveform);
}

int wfconv_cut_channel(const wfconv_waveform* waveform) {
    return waveform == nullptr ? 0 : static_cast<const OwnedWaveform*>(waveform)->cut_channel;
}

const char* wfconv_outcome_name(wfconv_outcome outcome) {
    switch (outcome) {
        case WFCONV_COMPLETE: return "complete";
        case WFCONV_CANNOT_OPEN: return "cannot_open";
        case WFCONV_TOO_SHORT: return "too_short";
        case WFCONV_READ_FAILED: return "read_failed";
        case WFCONV_ENDED_EARLY: return "ended_early";
    }
    return "unknown";
}

const char* wfconv_version(void) {
    return WFCONV_VERSION;
}

}  // extern "C"
