#include "base/paths.h"

#include <filesystem>
#include <system_error>

namespace zeran {

namespace fs = std::filesystem;

std::string with_slash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool folder_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string folder_of(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string resolve_in(const std::string& folder, const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    return with_slash(folder) + path;
}

std::string replace_extension(const std::string& path, const std::string& extension) {
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                           ? path.substr(0, dot)
                           : path;
    return stem + "." + extension;
}

} // namespace zeran
