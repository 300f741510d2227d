#pragma once
// Reading a DXF file into a drawing: the file side of DXF_Object creation.
#include "dxf/curve_reading.h"
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

// What a reading found besides the drawing.
struct DxfReadReport {
    // The message of an error that ended the reading early; empty otherwise.
    std::string stop_message;
    // Entity types passed over, with their counts.
    SkippedEntities skipped_entities;
    // The type of every entity of a kind the reader reads that it could not
    // read and left out, one entry each.
    std::vector<std::string> lost;
};

// As above, reading the curves of newer drawings as `curves` says.
std::unique_ptr<DXF_Object> read_dxf_object(const std::string& path, CurveReading curves,
                                            std::vector<std::string>* skipped, Prompt& prompt,
                                            Progress& progress, DxfReadReport& report);

} // namespace zeran
