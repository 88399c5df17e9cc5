// SPDX-License-Identifier: MIT
#include "reader/large_pages.hpp"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#endif

namespace wfconv {

void prefer_large_pages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only the whole pages inside the array: its ends share pages with other memory.
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = std::bit_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t end = (begin + bytes) / page * page;
    if (end > first) madvise(std::bit_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

}  // namespace wfconv
