// SPDX-License-Identifier: MIT
#include "reader/utf8_path.hpp"

#ifdef _WIN32
#include "reader/windows_names.hpp"
#endif

namespace wfconv {

std::filesystem::path path_from_utf8(const std::string& text) {
#ifdef _WIN32
    return detail::utf16_from_utf8(text);
#else
    return text;
#endif
}

}  // namespace wfconv
