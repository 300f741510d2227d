#pragma once
// Reading a DXF file into a drawing: the file side of DXF_Object creation.
#include "geometry/dxf_object.h"

#include <memory>
#include <string>
#include <vector>

namespace zeran {

class Progress;
class Prompt;

// Reads `path` through DXF_Reader: the drawing is named after the file (without
// directory), holds the layers read and the reader's extents. The names of
// sections, tables and entity types passed over are appended to `skipped`
// when given. A file that cannot be opened throws std::system_error; any
// other trouble is told through `prompt` and the drawing keeps what was read.
// `stop_message`, when given, receives the message of an error that ended
// the reading early (empty when the whole file was read). `lost`, when given,
// receives the type of every entity the reader could not read and left out.
std::unique_ptr<DXF_Object> read_dxf_object(const std::string& path,
                                            std::vector<std::string>* skipped, Prompt& prompt,
                                            Progress& progress, std::string* stop_message = nullptr,
                                            std::vector<std::string>* lost = nullptr);

} // namespace zeran
