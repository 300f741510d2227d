#include "project/insert_explosion.h"

#include "geometry/block_entities.h"
#include "geometry/dxf_layer.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zeran {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Nesting deeper than this is taken as a block that contains itself.
constexpr int kMaxNesting = 64;

// Counter-clockwise sweep from a to b; equal angles are a full turn.
double sweep_of(double a, double b) {
    double s = std::fmod(b - a, kTwoPi);
    if (s <= 0.0) s += kTwoPi;
    return s;
}

// The plane part of a matrix: images of the x and y unit vectors in xy.
struct PlaneMap {
    double ax, ay; // image of x
    double bx, by; // image of y
    double det() const { return ax * by - ay * bx; }
};

PlaneMap plane_map(const Matrix4& t) {
    return {t[0][0], t[0][1], t[1][0], t[1][1]};
}

// True when the map turns circles into circles: orthogonal images of equal length.
bool is_similarity(const PlaneMap& p) {
    const double s0 = std::hypot(p.ax, p.ay);
    const double s1 = std::hypot(p.bx, p.by);
    const double tol = 1e-9 * std::max({s0, s1, 1.0});
    return std::abs(s0 - s1) <= tol && std::abs(p.ax * p.bx + p.ay * p.by) <= tol * s0;
}

std::unique_ptr<DXF_Entity> placed_arc(const Arc_& arc, const Matrix4& t) {
    const PlaneMap p = plane_map(t);
    const double scale = std::hypot(p.ax, p.ay);
    const Point3D centre = transform_point(t, arc.point);
    const double turn = std::atan2(p.ay, p.ax);
    double start = arc.start_angle + turn;
    double end = arc.end_angle + turn;
    if (p.det() < 0.0) {
        // A mirror turns an angle a into turn - a and runs the arc the other
        // way round, so the ends swap to keep it counter-clockwise.
        start = turn - arc.end_angle;
        end = turn - arc.start_angle;
    }
    auto placed = std::make_unique<Arc_>(Z_AXIS, arc.colour_index(), degrees(start), degrees(end),
                                         arc.radius * scale, centre);
    placed->polyline_piece = arc.polyline_piece;
    return placed;
}

// An arc seen through a map that is not a similarity is part of an ellipse:
// short chords, as many as keep the sagitta within the tolerance.
std::unique_ptr<DXF_Entity> arc_as_polyline(const Arc_& arc, const Matrix4& t) {
    const PlaneMap p = plane_map(t);
    // Semi-axes of the image ellipse: the singular values of the plane map.
    const double sum = p.ax * p.ax + p.ay * p.ay + p.bx * p.bx + p.by * p.by;
    const double det = p.det();
    const double root = std::sqrt(std::max(0.0, sum * sum - 4.0 * det * det));
    const double major = arc.radius * std::sqrt((sum + root) / 2.0);
    const double minor = arc.radius * std::sqrt(std::max(0.0, (sum - root) / 2.0));
    const double sweep = sweep_of(arc.start_angle, arc.end_angle);
    // A parameter step d moves at most major·d along a curve whose curvature
    // is at most major / minor², so the sagitta stays below major³d²/(8·minor²).
    constexpr int kMaxSegments = kMaxPolylineVertices - 1;
    int segments = kMaxSegments;
    if (minor > 0.0 && major > 0.0) {
        const double step =
            std::sqrt(8.0 * kExplodedChordTolerance * minor * minor / (major * major * major));
        segments = static_cast<int>(std::min<double>(kMaxSegments, std::ceil(sweep / step)));
    }
    segments = std::max(segments, 2);
    std::vector<Point3D> vertices;
    vertices.reserve(static_cast<std::size_t>(segments) + 1);
    for (int k = 0; k <= segments; ++k) {
        const double a = arc.start_angle + sweep * k / segments;
        const Point3D q{arc.point.x + arc.radius * std::cos(a),
                        arc.point.y + arc.radius * std::sin(a), arc.point.z};
        vertices.push_back(transform_point(t, q));
    }
    return std::make_unique<Polyline_>(Z_AXIS, Closed::No, arc.colour_index(), std::move(vertices));
}

std::unique_ptr<DXF_Entity> placed_polyline(const Polyline_& poly, const Matrix4& t) {
    std::vector<Point3D> vertices;
    vertices.reserve(poly.vertices.size());
    for (const Point3D& v : poly.vertices) vertices.push_back(transform_point(t, v));
    const EntityKind kind = poly.kind();
    if (kind == EntityKind::Polyline)
        return std::make_unique<Polyline_>(Z_AXIS, poly.closed ? Closed::Yes : Closed::No,
                                           poly.colour_index(), std::move(vertices));
    if (kind == EntityKind::Solid)
        return std::make_unique<Solid_>(Z_AXIS, static_cast<const Solid_&>(poly).thickness,
                                        poly.colour_index(), std::move(vertices));
    // Faces and meshes hold world coordinates and have no ocs of their own.
    auto copy = poly.clone();
    static_cast<Polyline_&>(*copy).vertices = std::move(vertices);
    return copy;
}

void add_arc_pair(std::vector<std::unique_ptr<DXF_Entity>>& out, const Circle_& c,
                  const Matrix4* m) {
    const Arc_ lower(c.extrusion(), c.colour_index(), -90.0, 90.0, c.radius, c.point);
    const Arc_ upper(c.extrusion(), c.colour_index(), 90.0, -90.0, c.radius, c.point);
    for (const Arc_* a : {&lower, &upper})
        for (auto& piece : placed_copies(*a, m)) out.push_back(std::move(piece));
}

} // namespace

std::vector<std::unique_ptr<DXF_Entity>> placed_copies(const DXF_Entity& element,
                                                       const Matrix4* m) {
    std::vector<std::unique_ptr<DXF_Entity>> out;
    const EntityKind kind = element.kind();
    if (is_text_kind(kind) || kind == EntityKind::Block || kind == EntityKind::Insert) return out;
    if (kind == EntityKind::Circle) {
        add_arc_pair(out, static_cast<const Circle_&>(element), m);
        return out;
    }
    // Without a placement the element stays exactly as drawn in the block.
    if (!m) {
        out.push_back(element.clone());
        return out;
    }
    Matrix4 storage;
    const Matrix4& t = *compose_matrices(element.ocs(), m, storage);
    if (kind == EntityKind::Arc) {
        const auto& arc = static_cast<const Arc_&>(element);
        const PlaneMap p = plane_map(t);
        if (is_similarity(p)) {
            // A block scaled to nothing leaves nothing to cut.
            if (std::abs(p.det()) > 0.0) out.push_back(placed_arc(arc, t));
        } else {
            out.push_back(arc_as_polyline(arc, t));
        }
    } else if (kind == EntityKind::Line) {
        const auto& line = static_cast<const Line_&>(element);
        out.push_back(std::make_unique<Line_>(transform_point(t, line.point), line.colour_index(),
                                              transform_point(t, line.end)));
    } else if (kind == EntityKind::Point) {
        const auto& point = static_cast<const Point_&>(element);
        out.push_back(std::make_unique<Point_>(Z_AXIS, point.colour_index(),
                                               transform_point(t, point.point)));
    } else if (const auto* poly = dynamic_cast<const Polyline_*>(&element)) {
        out.push_back(placed_polyline(*poly, t));
    } else {
        out.push_back(element.clone());
    }
    return out;
}

Matrix4 insertion_placement(const Insert_& insert, const Block_& block, const Matrix4* parent) {
    Matrix4 inner;
    const Matrix4* own = compose_matrices(block.ocs(), insert.ocs(), inner);
    Matrix4 whole;
    const Matrix4* placed = compose_matrices(own, parent, whole);
    return placed ? *placed : IDENTITY;
}

namespace {

void explode(DXF_Layer& layer, const Block_& block, const Matrix4* m,
             std::vector<std::string>& messages, int depth) {
    if (depth > kMaxNesting) return;
    for (const auto& element : block.entities) {
        if (!element) continue;
        if (const auto* nested = dynamic_cast<const Block_*>(element.get())) {
            Matrix4 storage;
            explode(layer, *nested, compose_matrices(nested->ocs(), m, storage), messages,
                    depth + 1);
        } else if (const auto* insert = dynamic_cast<const Insert_*>(element.get())) {
            try {
                const Block_& inner = insert->block();
                const Matrix4 placed = insertion_placement(*insert, inner, m);
                explode(layer, inner, &placed, messages, depth + 1);
            } catch (const std::exception& ex) {
                messages.push_back(ex.what());
            }
        } else {
            for (auto& piece : placed_copies(*element, m)) layer.add_entity(std::move(piece));
        }
    }
}

} // namespace

void explode_block(DXF_Layer& layer, const Block_& block, const Matrix4* m,
                   std::vector<std::string>& messages) {
    explode(layer, block, m, messages, 0);
}

} // namespace zeran
