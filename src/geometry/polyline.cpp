#include "geometry/polyline.h"

#include "base/number_text.h"
#include "geometry/dxf_output.h"

#include <algorithm>
#include <cstdio>

namespace zeran {

// ---- Polyline_

Polyline_::Polyline_(const Point3D& extrusion, Closed c, int colour_index, std::vector<Point3D> v)
    : closed(c == Closed::Yes), vertices(std::move(v)) {
    if (!closed && vertices.size() > 1 && vertices.front() == vertices.back()) {
        closed = true;
        vertices.pop_back();
    }
    set_extrusion(extrusion);
    set_colour_index(colour_index);
}

Polyline_::Polyline_(KeepAllVertices, Closed c, int colour_index, std::vector<Point3D> v)
    : closed(c == Closed::Yes), vertices(std::move(v)) {
    set_colour_index(colour_index);
}

std::unique_ptr<DXF_Entity> Polyline_::clone() const {
    return std::make_unique<Polyline_>(*this);
}

Point3D Polyline_::start_point() const {
    if (vertices.empty()) return ORIGIN;
    return reversed ? vertices.back() : vertices.front();
}

Point3D Polyline_::end_point() const {
    if (vertices.empty()) return ORIGIN;
    return reversed ? vertices.front() : vertices.back();
}

std::vector<DevicePoint> Polyline_::map_vertices(const Matrix4* m, point_mapper map) const {
    const std::size_t count =
        std::min(vertices.size(), static_cast<std::size_t>(kMaxPolylineVertices));
    std::vector<DevicePoint> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out.push_back(map(vertices[i], m));
    return out;
}

void Polyline_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    canvas.set_brush(BrushStyle::Clear, canvas.brush_colour());
    Matrix4 storage;
    const std::vector<DevicePoint> pts =
        map_vertices(compose_matrices(ocs(), parent, storage), map);
    if (closed)
        canvas.polygon(pts);
    else
        canvas.polyline(pts);
}

void Polyline_::draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    Matrix4 storage;
    for (const DevicePoint& p : map_vertices(compose_matrices(ocs(), parent, storage), map))
        draw_cross(canvas, p);
}

void Polyline_::translate(const Point3D& offset) {
    for (Point3D& v : vertices) v = v + offset;
}

void Polyline_::quantise(int mask, double factor) {
    for (Point3D& v : vertices) quantise_point(v, mask, factor);
}

void Polyline_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    write_common_start(out, layer);
    out.integer(70, closed ? 9 : 8);
    for (const Point3D& v : vertices) {
        out.text(0, "VERTEX");
        out.integer(70, 32);
        write_point(out, 10, v);
    }
    out.text(0, "SEQEND");
}

std::string Polyline_::describe_head(std::string_view title) const {
    std::string s(title);
    s += kLineBreak;
    s += ocs_text();
    return s;
}

std::string Polyline_::describe() const {
    std::string s = describe_head(class_name());
    s += kLineBreak;
    s += closed ? "Closed" : "Open";
    for (const Point3D& v : vertices) {
        s += kLineBreak;
        s += point_text(v);
    }
    return s;
}

void Polyline_::grow_extents(Point3D& max, Point3D& min) const {
    for (const Point3D& v : vertices) {
        grow_max(max, v);
        grow_min(min, v);
    }
}

double Polyline_::squared_distance(const Point3D& p) const {
    double best = 1e10;
    for (const Point3D& v : vertices) best = min_of(best, squared_distance_xy(p, v));
    return best;
}

void Polyline_::nearest_vertex(const Point3D& p, Point3D& v) const {
    double best = 1e10;
    for (const Point3D& c : vertices) {
        const double d = squared_distance_xy(p, c);
        if (d < best) {
            best = d;
            v = c;
        }
    }
}

bool Polyline_::contains_point(const Point3D& p) const {
    if (!closed || vertices.empty()) return false;
    bool inside = false;
    const std::size_t count = vertices.size();
    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
        const Point3D& vi = vertices[i];
        const Point3D& vj = vertices[j];
        const bool spans = (vi.y <= p.y && p.y < vj.y) || (vj.y <= p.y && p.y < vi.y);
        if (spans && p.x < vi.x + (vj.x - vi.x) * (p.y - vi.y) / (vj.y - vi.y)) inside = !inside;
    }
    return inside;
}

bool Polyline_::move_vertex(const Point3D& old_point, const Point3D& new_point) {
    auto it = std::find(vertices.begin(), vertices.end(), old_point);
    if (it == vertices.end()) return false;
    *it = new_point;
    return true;
}

// ---- Face3D_ and Solid_

Face3D_::Face3D_(int colour_index, std::vector<Point3D> v)
    : Polyline_(KeepAllVertices{}, Closed::Yes, colour_index, std::move(v)) {}

std::unique_ptr<DXF_Entity> Face3D_::clone() const {
    return std::make_unique<Face3D_>(*this);
}

void Face3D_::write_face(DxfOutput& out, const std::string& layer, bool with_ocs) const {
    out.text(0, dxf_type_name());
    out.text(8, layer);
    out.integer(62, colour_index());
    if (with_ocs && ocs()) write_point(out, 210, extrusion());
    for (std::size_t i = 0; i < vertices.size() && i < 4; ++i)
        write_point(out, 10 + static_cast<int>(i), vertices[i]);
    if (vertices.size() == 3) write_point(out, 13, vertices[2]);
}

void Face3D_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    write_face(out, layer, false);
}

Solid_::Solid_(const Point3D& extrusion, double t, int colour_index, std::vector<Point3D> v)
    : Face3D_(colour_index, std::move(v)), thickness(t) {
    set_extrusion(extrusion);
}

std::unique_ptr<DXF_Entity> Solid_::clone() const {
    return std::make_unique<Solid_>(*this);
}

void Solid_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    // The corners of a solid are in its own coordinate system, so its
    // extrusion is written too, or the solid would read back elsewhere.
    write_face(out, layer, true);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15E", thickness);
    out.text(39, buf);
}

std::string Solid_::describe() const {
    std::string s = Polyline_::describe();
    s += kLineBreak;
    s += "Thickness\t" + fixed3_text(thickness);
    return s;
}

// ---- Polygon_mesh_

// Every vertex is kept: dropping a repeated last vertex would leave fewer
// than M x N points for the rows and columns to walk.
Polygon_mesh_::Polygon_mesh_(int colour_index, int flags, std::vector<Point3D> v, int n_, int m_)
    : Polyline_(KeepAllVertices{}, Closed::No, colour_index, std::move(v)), m(m_), n(n_),
      closed_m((flags & 1) != 0), closed_n((flags & 32) != 0) {}

std::unique_ptr<DXF_Entity> Polygon_mesh_::clone() const {
    return std::make_unique<Polygon_mesh_>(*this);
}

void Polygon_mesh_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    canvas.set_brush(BrushStyle::Clear, canvas.brush_colour());
    Matrix4 storage;
    const std::vector<DevicePoint> pts =
        map_vertices(compose_matrices(ocs(), parent, storage), map);
    if (m <= 0 || n <= 0) return;
    // Only whole rows that the vertices really hold are drawn.
    const std::size_t cols = static_cast<std::size_t>(n);
    const std::size_t rows = std::min(static_cast<std::size_t>(m), pts.size() / cols);
    for (std::size_t i = 0; i < rows; ++i) {
        std::vector<DevicePoint> row(pts.begin() + static_cast<std::ptrdiff_t>(i * cols),
                                     pts.begin() + static_cast<std::ptrdiff_t>((i + 1) * cols));
        if (closed_n)
            canvas.polygon(row);
        else
            canvas.polyline(row);
    }
    if (rows == 0) return;
    for (std::size_t j = 0; j < cols; ++j) {
        std::vector<DevicePoint> column;
        for (std::size_t i = 0; i < rows; ++i) column.push_back(pts[i * cols + j]);
        if (closed_m) column.push_back(pts[j]);
        if (column.size() > 1) canvas.polyline(column);
    }
}

void Polygon_mesh_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    out.text(0, "POLYLINE");
    out.text(8, layer);
    out.integer(62, colour_index());
    out.integer(66, 1);
    out.integer(70, 16 + (closed_m ? 1 : 0) + (closed_n ? 32 : 0));
    out.integer(71, m);
    out.integer(72, n);
    for (const Point3D& v : vertices) {
        out.text(0, "VERTEX");
        out.integer(70, 64);
        write_point(out, 10, v);
    }
    out.text(0, "SEQEND");
}

std::string Polygon_mesh_::describe() const {
    std::string s = describe_head("Polyline_ (polygon mesh)");
    s += kLineBreak;
    s += "Vertices\t" + int_text(vertex_count());
    s += kLineBreak;
    s += "M\t" + int_text(m);
    s += kLineBreak;
    s += "N\t" + int_text(n);
    s += kLineBreak;
    s += "Closed M\t" + bool_text(closed_m);
    s += kLineBreak;
    s += "Closed N\t" + bool_text(closed_n);
    return s;
}

// ---- Polyface_mesh_

Polyface_mesh_::Polyface_mesh_(int colour_index, std::vector<PolyfaceFace> f,
                               std::vector<Point3D> v)
    : Polyline_(KeepAllVertices{}, Closed::No, colour_index, std::move(v)), faces(std::move(f)) {}

std::unique_ptr<DXF_Entity> Polyface_mesh_::clone() const {
    return std::make_unique<Polyface_mesh_>(*this);
}

void Polyface_mesh_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    canvas.set_brush(BrushStyle::Clear, canvas.brush_colour());
    Matrix4 storage;
    const std::vector<DevicePoint> pts =
        map_vertices(compose_matrices(ocs(), parent, storage), map);
    std::vector<DevicePoint> outline;
    for (const PolyfaceFace& face : faces) {
        outline.clear();
        // A negative index ends the face; so does one beyond the vertices.
        for (std::int32_t index : face) {
            if (index < 0 || static_cast<std::size_t>(index) >= pts.size()) break;
            outline.push_back(pts[static_cast<std::size_t>(index)]);
        }
        if (!outline.empty()) canvas.polygon(outline);
    }
}

void Polyface_mesh_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    out.text(0, "POLYLINE");
    out.text(8, layer);
    out.integer(62, colour_index());
    out.integer(66, 1);
    out.integer(70, 64);
    out.integer(71, vertex_count());
    out.integer(72, face_count());
    for (const Point3D& v : vertices) {
        out.text(0, "VERTEX");
        out.integer(70, 192);
        write_point(out, 10, v);
    }
    for (const PolyfaceFace& face : faces) {
        out.text(0, "VERTEX");
        out.integer(70, 128);
        for (int k = 0; k < 4; ++k) out.integer(71 + k, static_cast<long long>(face[k]) + 1);
    }
    out.text(0, "SEQEND");
}

std::string Polyface_mesh_::describe() const {
    std::string s = describe_head("Polyline_ (polyface mesh)");
    s += kLineBreak;
    s += "Vertices\t" + int_text(vertex_count());
    s += kLineBreak;
    s += "Faces\t" + int_text(face_count());
    return s;
}

} // namespace zeran
