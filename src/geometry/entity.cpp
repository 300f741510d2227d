#include "geometry/entity.h"

#include "geometry/dxf_output.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace zeran {

Colour colour_of_index(long long n) {
    if (n < 0) n = -n;
    return colour_table[static_cast<std::size_t>(n % static_cast<long long>(colour_table.size()))];
}

DXF_Entity::~DXF_Entity() = default;

DXF_Entity::DXF_Entity(const DXF_Entity& other)
    : reversed(other.reversed), source(other.source), colour_(other.colour_),
      colour_index_(other.colour_index_),
      ocs_(other.ocs_ ? std::make_unique<Matrix4>(*other.ocs_) : nullptr),
      extrusion_(other.extrusion_) {}

void DXF_Entity::set_extrusion(const Point3D& n) {
    if (n == ORIGIN) throw std::domain_error("Extrusion direction is a zero vector");
    extrusion_ = n;
    if (auto m = ocs_matrix(n)) ocs_ = std::make_unique<Matrix4>(*m);
}

void DXF_Entity::resolve_blocks(const Entity_List*) {}
void DXF_Entity::draw(Canvas&, const Matrix4*, point_mapper) const {}
void DXF_Entity::draw_vertices(Canvas&, const Matrix4*, point_mapper) const {}

void DXF_Entity::set_colour_index(int n) {
    colour_index_ = n;
    colour_ = colour_of_index(n);
}

void DXF_Entity::set_colour(Colour rgb) {
    colour_ = rgb;
    colour_index_ = 0;
    for (std::size_t i = 0; i < colour_table.size(); ++i)
        if (colour_table[i] == rgb) colour_index_ = static_cast<std::int32_t>(i);
}

void DXF_Entity::translate(const Point3D&) {}
void DXF_Entity::quantise(int, double) {}

std::string_view entity_list_name(EntityKind kind) {
    switch (kind) {
    case EntityKind::Point:
        return "Point_";
    case EntityKind::Line:
        return "Line_";
    case EntityKind::Circle:
        return "Circle_";
    case EntityKind::Arc:
        return "Arc_";
    case EntityKind::Polyline:
        return "Polyline_";
    case EntityKind::Face3D:
        return "Face3D_";
    case EntityKind::Solid:
        return "Solid_";
    case EntityKind::PolygonMesh:
        return "Polygon_mesh_";
    case EntityKind::PolyfaceMesh:
        return "Polyface_mesh_";
    case EntityKind::Insert:
        return "Insert_";
    case EntityKind::Block:
        return "Block_";
    case EntityKind::Text:
        return "Text_";
    case EntityKind::Attrib:
        return "Attrib_";
    case EntityKind::Attdef:
        return "Attdef_";
    }
    return "";
}

bool is_text_kind(EntityKind kind) {
    switch (kind) {
    case EntityKind::Text:
    case EntityKind::Attrib:
    case EntityKind::Attdef:
        return true;
    case EntityKind::Point:
    case EntityKind::Line:
    case EntityKind::Circle:
    case EntityKind::Arc:
    case EntityKind::Polyline:
    case EntityKind::Face3D:
    case EntityKind::Solid:
    case EntityKind::PolygonMesh:
    case EntityKind::PolyfaceMesh:
    case EntityKind::Insert:
    case EntityKind::Block:
        return false;
    }
    return false;
}

std::string DXF_Entity::dxf_type_name() const {
    std::string name(class_name());
    if (!name.empty() && name.back() == '_') name.pop_back();
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

void DXF_Entity::write_point(DxfOutput& out, int base_code, const Point3D& p) const {
    out.point(base_code, p);
}

void DXF_Entity::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    write_common_start(out, layer);
}

void DXF_Entity::grow_extents(Point3D&, Point3D&) const {}
double DXF_Entity::squared_distance(const Point3D&) const {
    return 0.0;
}
void DXF_Entity::nearest_vertex(const Point3D&, Point3D& v) const {
    v = ORIGIN;
}
bool DXF_Entity::contains_point(const Point3D&) const {
    return false;
}
bool DXF_Entity::move_vertex(const Point3D&, const Point3D&) {
    return false;
}

void DXF_Entity::write_common_start(DxfOutput& out, const std::string& layer) const {
    out.text(0, dxf_type_name());
    out.text(8, layer);
    out.integer(62, colour_index_);
    if (ocs_) write_point(out, 210, extrusion_);
}

std::string DXF_Entity::ocs_text() const {
    return ocs_ ? "OCS Axis " + point_text(extrusion_) : std::string("WCS");
}

void DXF_Entity::use_pen(Canvas& canvas) const {
    if (canvas.pen_colour() != colour_) canvas.set_pen_colour(colour_);
}

void draw_cross(Canvas& canvas, DevicePoint at) {
    canvas.line({at.x - 2, at.y - 2}, {at.x + 3, at.y + 3});
    canvas.line({at.x - 2, at.y + 2}, {at.x + 3, at.y - 3});
}

double round_half_even(double x) {
    double r = std::floor(x);
    const double rest = x - r;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    return r;
}

double snap(double c, double factor) {
    return round_half_even(c * factor) / factor;
}

void quantise_point(Point3D& p, int mask, double factor) {
    // A zero or broken factor would turn every coordinate into NaN.
    if (!(factor > 0.0) || !std::isfinite(factor)) return;
    if (mask & 1) p.x = snap(p.x, factor);
    if (mask & 2) p.y = snap(p.y, factor);
    if (mask & 4) p.z = snap(p.z, factor);
}

} // namespace zeran
