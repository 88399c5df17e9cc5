// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace wfconv {

// Asks the system to back the memory of a large array, not yet touched, with large
// pages: first touching it then costs one fault per 2 MiB instead of one per 4 KiB,
// which is most of the time of filling a fresh array. Only a hint; nothing happens
// where the system has no such pages or the array is small.
void prefer_large_pages(void* data, std::size_t bytes);

}  // namespace wfconv
