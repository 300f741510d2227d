#include "dxf/curve_entities.h"

#include "geometry/matrix4.h"
#include "geometry/point_entities.h"

#include <cmath>
#include <numbers>

namespace zeran {

namespace {

double degrees_of(Point2D from, Point2D to) {
    return std::atan2(to.y - from.y, to.x - from.x) * 180.0 / std::numbers::pi;
}

} // namespace

std::vector<ChainPiece> bulged_polyline_pieces(const std::vector<Point3D>& vertices,
                                               const std::vector<double>& bulges, bool closed) {
    std::vector<ChainPiece> pieces;
    const std::size_t n = vertices.size();
    const std::size_t segments = closed ? n : (n > 0 ? n - 1 : 0);
    for (std::size_t i = 0; i < segments; ++i) {
        const Point3D& a = vertices[i];
        const Point3D& b = vertices[(i + 1) % n];
        if (a.x == b.x && a.y == b.y) continue;
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        pieces.push_back(bulge_piece({a.x, a.y}, {b.x, b.y}, bulge));
    }
    return pieces;
}

void add_chain_entities(const std::vector<ChainPiece>& pieces, const Point3D& extrusion,
                        double elevation, int colour,
                        std::vector<std::unique_ptr<DXF_Entity>>& out) {
    const std::optional<Matrix4> ocs = ocs_matrix(extrusion);
    const auto world = [&](Point2D p) {
        const Point3D q{p.x, p.y, elevation};
        return ocs ? transform_point(*ocs, q) : q;
    };
    const auto finite = [](Point2D p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    for (const ChainPiece& p : pieces) {
        // A bulge or vertex too large for the numbers gives nothing to draw.
        if (!finite(p.start) || !finite(p.end)) continue;
        if (!p.straight && (!finite(p.centre) || !std::isfinite(p.radius))) continue;
        if (p.straight) {
            out.push_back(std::make_unique<Line_>(world(p.start), colour, world(p.end)));
            continue;
        }
        // Arc_ turns counter-clockwise: a clockwise piece runs from its end.
        const Point2D from = p.ccw ? p.start : p.end;
        const Point2D to = p.ccw ? p.end : p.start;
        auto arc = std::make_unique<Arc_>(extrusion, colour, degrees_of(p.centre, from),
                                          degrees_of(p.centre, to), p.radius,
                                          Point3D{p.centre.x, p.centre.y, elevation});
        arc->polyline_piece = true;
        out.push_back(std::move(arc));
    }
}

} // namespace zeran
