#pragma once
// Whole-file reading and the write-beside-then-rename save every writer uses.
#include <optional>
#include <string>
#include <string_view>

namespace zeran {

std::optional<std::string> read_file(const std::string& path, std::string* error = nullptr);

// Writes `content` to "<path>.tmp~" and renames it over `path` only when the
// write is complete; on failure the old file is untouched and *error says why.
bool write_file_atomically(const std::string& path, std::string_view content,
                           std::string* error = nullptr);

} // namespace zeran
