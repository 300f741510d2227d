#pragma once
// Whole-file reading and the write-beside-then-rename save every writer uses.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

// No project, material, machine, library or GNC file comes near this; a
// bigger one (or an endless device such as /dev/zero) is refused.
inline constexpr std::uint64_t kMaxTextFileBytes = 256ull << 20;

// The whole file; nullopt and *error ("Cannot open file X: reason") when it
// cannot be read or exceeds `max_bytes`.
std::optional<std::string> read_file(const std::string& path, std::string* error = nullptr,
                                     std::uint64_t max_bytes = kMaxTextFileBytes);

// Writes `content` to a temporary file beside the target and renames it over
// the target only when the write is complete and synced; the folder is synced
// after the rename. A symbolic link is followed to the file it names, whose
// mode is kept. Special files (devices, FIFOs, folders) and read-only files
// are refused. On failure the old file is untouched, no temporary file is
// left, and *error says why with the system's reason.
bool write_file_atomically(const std::string& path, std::string_view content,
                           std::string* error = nullptr);

// The text of an errno value.
std::string system_reason(int error_number);

// True when both paths name one existing file (links and hard links alike).
bool same_file(const std::string& a, const std::string& b);

// Why `output` may not be written over (it is one of `inputs`, not a regular
// file, or read-only), or "" when it may.
std::string output_path_problem(const std::string& output, const std::vector<std::string>& inputs);

} // namespace zeran
