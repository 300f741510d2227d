#include "dxf/dxf_writer.h"

#include "base/file_io.h"
#include "base/number_text.h"
#include "geometry/dxf_output.h"

namespace zeran {

namespace {

void header_point(DxfOutput& out, const Point3D& p) {
    out.text(10, general_text(p.x));
    out.text(20, general_text(p.y));
    out.text(30, general_text(p.z));
}

} // namespace

std::string DXF_Writer::text() {
    std::string s;
    DxfOutput out(s);

    min_ = {1e10, 1e10, 1e10};
    max_ = {-1e10, -1e10, -1e10};
    for (const auto& layer : layers_) layer->grow_extents(max_, min_);

    out.text(0, "SECTION");
    out.text(2, "HEADER");
    out.text(9, "$EXTMIN");
    header_point(out, min_);
    out.text(9, "$EXTMAX");
    header_point(out, max_);
    out.text(0, "ENDSEC");

    out.text(0, "SECTION");
    out.text(2, "TABLES");
    out.text(0, "TABLE");
    out.text(2, "VPORT");
    out.text(0, "VPORT");
    out.text(2, "*ACTIVE");
    out.text(41, "  1.000000");
    out.text(0, "ENDTAB");
    out.text(0, "TABLE");
    out.text(2, "LAYER");
    for (const auto& layer : layers_) {
        out.text(0, "LAYER");
        out.text(2, layer->name);
        out.integer(62, layer->colour);
    }
    out.text(0, "ENDTAB");
    out.text(0, "ENDSEC");

    // Only the blocks of layer "0" (the last of that name) are written.
    out.text(0, "SECTION");
    out.text(2, "BLOCKS");
    const DXF_Layer* zero = nullptr;
    for (const auto& layer : layers_)
        if (layer->name == "0") zero = layer.get();
    if (zero) {
        const std::string layer_name = "0";
        for (const auto& list : zero->entity_lists())
            if (list->name() == entity_list_name(EntityKind::Block))
                for (const DXF_Entity* e : *list) e->write_to_dxf(out, layer_name);
    }
    out.text(0, "ENDSEC");

    out.text(0, "SECTION");
    out.text(2, "ENTITIES");
    for (const auto& layer : layers_)
        for (const auto& list : layer->entity_lists())
            if (list->name() != entity_list_name(EntityKind::Block))
                for (const DXF_Entity* e : *list) e->write_to_dxf(out, layer->name);
    out.text(0, "ENDSEC");
    out.text(0, "EOF");
    return s;
}

void DXF_Writer::write(const std::string& path) {
    const std::string content = text();
    std::string error;
    if (!write_file_atomically(path, content, &error)) throw DxfWriteError(error);
}

std::string dxf_text(const DXF_Object& drawing) {
    return DXF_Writer(drawing.layers()).text();
}

void write_dxf_file(const DXF_Object& drawing, const std::string& path) {
    DXF_Writer(drawing.layers()).write(path);
}

} // namespace zeran
