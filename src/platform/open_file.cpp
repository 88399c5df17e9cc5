#include "platform/open_file.hpp"

#ifdef _WIN32
#include "platform/windows_names.hpp"
#endif

namespace wfconv {

std::FILE* open_file(const std::filesystem::path& path, FileMode mode) {
#ifdef _WIN32
    return _wfopen(detail::system_path(path).c_str(), mode == FileMode::read ? L"rb" : L"wb");
#else
    return std::fopen(path.c_str(), mode == FileMode::read ? "rb" : "wb");
#endif
}

}  // namespace wfconv
