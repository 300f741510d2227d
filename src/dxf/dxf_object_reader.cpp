#include "dxf/dxf_object_reader.h"

#include "dxf/dxf_reader.h"

namespace zeran {

std::unique_ptr<DXF_Object> read_dxf_object(const std::string& path,
                                            std::vector<std::string>* skipped, Prompt& prompt,
                                            Progress& progress, std::string* stop_message,
                                            std::vector<std::string>* lost) {
    DxfReadReport report;
    auto drawing = read_dxf_object(path, CurveReading::Arcs, skipped, prompt, progress, report);
    if (stop_message) *stop_message = report.stop_message;
    if (lost) lost->insert(lost->end(), report.lost.begin(), report.lost.end());
    return drawing;
}

std::unique_ptr<DXF_Object> read_dxf_object(const std::string& path, CurveReading curves,
                                            std::vector<std::string>* skipped, Prompt& prompt,
                                            Progress& progress, DxfReadReport& report) {
    DXF_Reader reader(path, prompt, progress);
    reader.set_skipped_list(skipped);
    reader.set_lost_list(&report.lost);
    reader.set_curve_reading(curves);
    reader.read_file();
    report.stop_message = reader.stop_message();
    report.skipped_entities = reader.skipped_entities();
    return std::make_unique<DXF_Object>(DXF_Object::name_from_path(path), reader.take_layers(),
                                        reader.header_max(), reader.header_min());
}

} // namespace zeran
