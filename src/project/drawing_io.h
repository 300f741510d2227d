#pragma once
// Reading a drawing file into a DXF_Object and writing one as the project's
// converted drawing.
#include <memory>
#include <string>
#include <vector>

namespace zeran {

class DXF_Object;
class Prompt;
class Progress;

// Reads a DXF (or .tdx) file; the reader's skipped names land in *skipped.
// A file that cannot be opened throws std::system_error.
std::unique_ptr<DXF_Object> read_drawing_file(const std::string& path, Prompt& prompt,
                                              Progress& progress,
                                              std::vector<std::string>* skipped);

// Writes beside the file and renames it over the old one when complete.
bool write_drawing_file(const DXF_Object& drawing, const std::string& path, std::string* error);

} // namespace zeran
