#pragma once
// DXF_Writer: writes a drawing's layers as the ASCII DXF text of a .tdx file
// (HEADER extents, VPORT and LAYER tables, BLOCKS, ENTITIES), CR LF lines.
#include "geometry/dxf_object.h"

#include <stdexcept>
#include <string>

namespace zeran {

// A drawing file that could not be written; the message names the file.
class DxfWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class DXF_Writer {
public:
    // Refers to the layers; owns nothing of the drawing.
    explicit DXF_Writer(const LayerList& layers) : layers_(layers) {}

    // The whole file text.
    std::string text();
    // Writes the text beside `path` and renames it over; the old file stays
    // as it was when anything fails. Throws DxfWriteError.
    void write(const std::string& path);

    // The extents of the last text(): grown from (1e10, ...) and (-1e10, ...).
    Point3D min_extent() const { return min_; }
    Point3D max_extent() const { return max_; }

private:
    const LayerList& layers_;
    Point3D min_{1e10, 1e10, 1e10};
    Point3D max_{-1e10, -1e10, -1e10};
};

// The drawing as DXF text, and saved to a file (throws DxfWriteError).
std::string dxf_text(const DXF_Object& drawing);
void write_dxf_file(const DXF_Object& drawing, const std::string& path);

} // namespace zeran
