// SPDX-License-Identifier: MIT
#include "reader/windows_names.hpp"

#include <gtest/gtest.h>

#include <string>

namespace wfconv {
namespace {

#ifdef _WIN32

// Wine opens long paths without the \\?\ prefix, so the runs under it cannot tell
// whether the prefix is there; real Windows needs it past 260 characters, and then
// reads the name literally: absolute, backslashes only, no "." or "..".
TEST(WindowsNames, LongPathsGoBehindThePrefix) {
    const std::wstring long_name(300, L'n');
    const struct {
        std::wstring path;
        std::wstring want;
    } cases[] = {
        {L"C:\\data\\run7.wfm", L"C:\\data\\run7.wfm"},
        {L"C:/data/./x/../" + long_name, L"\\\\?\\C:\\data\\" + long_name},
        {L"\\\\server\\share\\" + long_name, L"\\\\?\\UNC\\server\\share\\" + long_name},
        {L"\\\\?\\C:\\" + long_name, L"\\\\?\\C:\\" + long_name},
    };
    for (const auto& c : cases) EXPECT_TRUE(detail::system_path(c.path) == c.want) << detail::utf8_from_utf16(c.path);
}

#endif

}  // namespace
}  // namespace wfconv
