#include "platform/open_file.hpp"

namespace wfconv {

std::FILE* open_file(const std::filesystem::path& path, FileMode mode) {
    return std::fopen(path.c_str(), mode == FileMode::read ? "rb" : "wb");
}

}  // namespace wfconv
