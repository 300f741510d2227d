#include "project/drawing_io.h"

#include "dxf/dxf_reader.h"
#include "dxf/dxf_writer.h"
#include "geometry/dxf_object.h"
#include "geometry/file_io.h"

namespace zeran {

std::unique_ptr<DXF_Object> read_drawing_file(const std::string& path, Prompt& prompt,
                                              Progress& progress,
                                              std::vector<std::string>* skipped) {
    DXF_Reader reader(path, prompt, progress);
    reader.set_skipped_list(skipped);
    reader.read_file();
    const Point3D max = reader.header_max();
    const Point3D min = reader.header_min();
    return std::make_unique<DXF_Object>(DXF_Object::name_from_path(path), reader.take_layers(), max,
                                        min);
}

bool write_drawing_file(const DXF_Object& drawing, const std::string& path, std::string* error) {
    return write_file_atomically(path, dxf_text(drawing), error);
}

} // namespace zeran
