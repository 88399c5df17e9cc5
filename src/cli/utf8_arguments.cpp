// SPDX-License-Identifier: MIT
#include "cli/utf8_arguments.hpp"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "reader/windows_names.hpp"
#endif

namespace wfconv {

Utf8Arguments::Utf8Arguments(int argc, const char* const* argv) {
#ifdef _WIN32
    int wide_count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wide_count); wide != nullptr) {
        for (int i = 0; i < wide_count; ++i) texts_.push_back(detail::utf8_from_utf16(wide[i]));
        LocalFree(wide);
        argc = 0;  // the narrow argv has lost what the ANSI code page cannot hold
    }
#endif
    for (int i = 0; i < argc; ++i) texts_.emplace_back(argv[i]);
    for (const std::string& text : texts_) pointers_.push_back(text.c_str());
    pointers_.push_back(nullptr);
}

}  // namespace wfconv
