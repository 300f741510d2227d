#include "dxf/dxf_object_reader.h"

#include "dxf/dxf_reader.h"

namespace zeran {

std::unique_ptr<DXF_Object> read_dxf_object(const std::string& path,
                                            std::vector<std::string>* skipped, Prompt& prompt,
                                            Progress& progress, std::string* stop_message,
                                            std::vector<std::string>* lost) {
    DXF_Reader reader(path, prompt, progress);
    reader.set_skipped_list(skipped);
    reader.set_lost_list(lost);
    reader.read_file();
    if (stop_message) *stop_message = reader.stop_message();
    return std::make_unique<DXF_Object>(DXF_Object::name_from_path(path), reader.take_layers(),
                                        reader.header_max(), reader.header_min());
}

} // namespace zeran
