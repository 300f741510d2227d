#include "geometry/point_entities.h"

#include "base/number_text.h"
#include "geometry/dxf_output.h"

#include <cmath>
#include <numbers>

namespace zeran {

// ---- Point_

Point_::Point_(const Point3D& extrusion, int colour_index, const Point3D& p) : point(p) {
    set_colour_index(colour_index);
    set_extrusion(extrusion);
}

std::unique_ptr<DXF_Entity> Point_::clone() const {
    return std::make_unique<Point_>(*this);
}

void Point_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    Matrix4 storage;
    draw_cross(canvas, map(point, compose_matrices(ocs(), parent, storage)));
}

void Point_::draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    Matrix4 storage;
    draw_cross(canvas, map(point, compose_matrices(ocs(), parent, storage)));
}

void Point_::translate(const Point3D& offset) {
    point = point + offset;
}

void Point_::quantise(int mask, double factor) {
    quantise_point(point, mask, factor);
}

void Point_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    write_common_start(out, layer);
    write_point(out, 10, point);
}

std::string Point_::describe() const {
    std::string s(class_name());
    s += kLineBreak;
    s += ocs_text();
    s += kLineBreak;
    s += point_text(point);
    return s;
}

void Point_::grow_extents(Point3D& max, Point3D& min) const {
    grow_max(max, point);
    grow_min(min, point);
}

double Point_::squared_distance(const Point3D& p) const {
    return squared_distance_xy(p, point);
}

void Point_::nearest_vertex(const Point3D&, Point3D& v) const {
    v = point;
}

bool Point_::move_vertex(const Point3D& old_point, const Point3D& new_point) {
    if (point != old_point) return false;
    point = new_point;
    return true;
}

// ---- Line_

Line_::Line_(const Point3D& first, int colour_index, const Point3D& second)
    : Point_(Z_AXIS, colour_index, first), end(second) {}

std::unique_ptr<DXF_Entity> Line_::clone() const {
    return std::make_unique<Line_>(*this);
}

void Line_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    Matrix4 storage;
    const Matrix4* m = compose_matrices(ocs(), parent, storage);
    canvas.line(map(point, m), map(end, m));
}

void Line_::draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    Matrix4 storage;
    const Matrix4* m = compose_matrices(ocs(), parent, storage);
    draw_cross(canvas, map(point, m));
    draw_cross(canvas, map(end, m));
}

void Line_::translate(const Point3D& offset) {
    point = point + offset;
    end = end + offset;
}

void Line_::quantise(int mask, double factor) {
    quantise_point(point, mask, factor);
    quantise_point(end, mask, factor);
}

void Line_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    Point_::write_to_dxf(out, layer);
    write_point(out, 11, end);
}

std::string Line_::describe() const {
    std::string s = Point_::describe();
    s += kLineBreak;
    s += point_text(end);
    return s;
}

void Line_::grow_extents(Point3D& max, Point3D& min) const {
    Point_::grow_extents(max, min);
    grow_max(max, end);
    grow_min(min, end);
}

double Line_::squared_distance(const Point3D& p) const {
    return min_of(squared_distance_xy(p, point), squared_distance_xy(p, end));
}

void Line_::nearest_vertex(const Point3D& p, Point3D& v) const {
    v = squared_distance_xy(p, point) < squared_distance_xy(p, end) ? point : end;
}

bool Line_::move_vertex(const Point3D& old_point, const Point3D& new_point) {
    if (point == old_point) {
        point = new_point;
        return true;
    }
    if (end == old_point) {
        end = new_point;
        return true;
    }
    return false;
}

// ---- Circle_

Circle_::Circle_(const Point3D& extrusion, int colour_index, double r, const Point3D& centre)
    : Point_(extrusion, colour_index, centre), radius(r) {}

std::unique_ptr<DXF_Entity> Circle_::clone() const {
    return std::make_unique<Circle_>(*this);
}

Point3D Circle_::start_point() const {
    return {point.x, point.y - radius, point.z};
}

bool Circle_::device_box(const Matrix4* m, point_mapper map, DevicePoint& top_left,
                         DevicePoint& bottom_right) const {
    const Point3D r{radius, radius, radius};
    const DevicePoint p1 = map(point - r, m);
    const DevicePoint p2 = map(point + r, m);
    if (p1.x + 1 < p2.x && p2.y + 1 < p1.y) {
        top_left = {p1.x, p2.y};
        bottom_right = {p2.x, p1.y};
        return true;
    }
    top_left = p1;
    bottom_right = p1;
    return false;
}

void Circle_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    canvas.set_brush(BrushStyle::Clear, canvas.brush_colour());
    Matrix4 storage;
    DevicePoint a, b;
    if (device_box(compose_matrices(ocs(), parent, storage), map, a, b))
        canvas.ellipse(a, b);
    else
        canvas.pixel(a, colour());
}

void Circle_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    Point_::write_to_dxf(out, layer);
    out.real(40, radius);
}

std::string Circle_::describe() const {
    std::string s = Point_::describe();
    s += kLineBreak;
    s += "Radius = " + fixed3_text(radius);
    return s;
}

void Circle_::grow_extents(Point3D& max, Point3D& min) const {
    const Point3D r{radius, radius, 0.0};
    grow_max(max, point + r);
    grow_min(min, point - r);
}

bool Circle_::contains_point(const Point3D& p) const {
    return distance_xy(p, point) <= radius;
}

// ---- Arc_

Arc_::Arc_(const Point3D& extrusion, int colour_index, double start_degrees, double end_degrees,
           double r, const Point3D& centre)
    : Circle_(extrusion, colour_index, r, centre), start_angle(radians(start_degrees)),
      end_angle(radians(end_degrees)) {}

std::unique_ptr<DXF_Entity> Arc_::clone() const {
    return std::make_unique<Arc_>(*this);
}

Point3D Arc_::point_at(double angle) const {
    return {point.x + radius * std::cos(angle), point.y + radius * std::sin(angle), 0.0};
}

Point3D Arc_::start_point() const {
    return point_at(reversed ? end_angle : start_angle);
}
Point3D Arc_::end_point() const {
    return point_at(reversed ? start_angle : end_angle);
}

void Arc_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    use_pen(canvas);
    Matrix4 storage;
    const Matrix4* m = compose_matrices(ocs(), parent, storage);
    DevicePoint a, b;
    if (!device_box(m, map, a, b)) {
        canvas.pixel(a, colour());
        return;
    }
    const Point3D s{point.x + radius * std::cos(start_angle),
                    point.y + radius * std::sin(start_angle), point.z + radius};
    const Point3D e{point.x + radius * std::cos(end_angle), point.y + radius * std::sin(end_angle),
                    point.z + radius};
    canvas.arc(a, b, map(s, m), map(e, m));
}

void Arc_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    if (polyline_piece && write_as_bulge_segment(out, layer)) return;
    Circle_::write_to_dxf(out, layer);
    out.real(50, degrees(start_angle));
    out.real(51, degrees(end_angle));
}

bool Arc_::write_as_bulge_segment(DxfOutput& out, const std::string& layer) const {
    double sweep = std::fmod(end_angle - start_angle, 2.0 * std::numbers::pi);
    if (sweep <= 0.0) sweep += 2.0 * std::numbers::pi;
    const Point3D s = point_at(start_angle);
    const Point3D e = point_at(end_angle);
    // A whole circle has no bulge, and ends that round to one point would
    // read back as a segment of no length.
    if (!(sweep < 2.0 * std::numbers::pi - 1e-9)) return false;
    if (fixed3_text(s.x) == fixed3_text(e.x) && fixed3_text(s.y) == fixed3_text(e.y)) return false;
    out.text(0, "LWPOLYLINE");
    out.text(8, layer);
    out.integer(62, colour_index());
    if (ocs()) write_point(out, 210, extrusion());
    out.integer(90, 2);
    out.integer(70, 0);
    if (point.z != 0.0) out.real(38, point.z);
    out.real(10, s.x);
    out.real(20, s.y);
    // Twelve digits: far below the drawing's precision, and stable when read back and written
    // again.
    out.text(42, general_text(std::tan(sweep / 4.0), '.', 12));
    out.real(10, e.x);
    out.real(20, e.y);
    return true;
}

std::string Arc_::describe() const {
    std::string s = Circle_::describe();
    s += kLineBreak;
    s += "Angle 1 = " + fixed3_text(start_angle);
    s += kLineBreak;
    s += "Angle 2 = " + fixed3_text(end_angle);
    return s;
}

namespace {

// Degrees folded into [0, 360).
double fold_degrees(double a) {
    a = std::fmod(a, 360.0);
    if (a < 0.0) a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

} // namespace

void Arc_::grow_extents(Point3D& max, Point3D& min) const {
    // The ends, then every axis point the arc passes on its way round. The
    // angles are folded into one turn first so that any angle, however large
    // or negative, gives a bounded walk; equal angles are a full turn.
    const Point3D s = point_at(start_angle);
    const Point3D e = point_at(end_angle);
    for (const Point3D& p : {s, e}) {
        grow_max(max, p);
        grow_min(min, p);
    }
    if (!std::isfinite(start_angle) || !std::isfinite(end_angle)) return;
    const double from = fold_degrees(degrees(start_angle));
    double to = fold_degrees(degrees(end_angle));
    if (to <= from) to += 360.0;
    for (int k = 1; k < 8; ++k) {
        const double q = 90.0 * k;
        if (q <= from || q >= to) continue;
        const Point3D a = point_at(radians(q));
        grow_max(max, a);
        grow_min(min, a);
    }
}

} // namespace zeran
