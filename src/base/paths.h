#pragma once
// Path helpers shared by the project, the NC output and the programs.
#include <string>

namespace zeran {

// `folder` ending in '/', unless it is empty.
std::string with_slash(std::string folder);

// A relative path taken against `folder`; an absolute one unchanged.
std::string resolve_in(const std::string& folder, const std::string& path);

// `path` with its extension replaced by "." + extension (added when it has none).
std::string replace_extension(const std::string& path, const std::string& extension);

bool folder_exists(const std::string& path);
bool file_exists(const std::string& path);
// The folder part of a path, without the separator; empty when it has none.
std::string folder_of(const std::string& path);

} // namespace zeran
