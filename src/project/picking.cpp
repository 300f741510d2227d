#include "project/picking.h"

#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/selection_lists.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cycles/picking_geometry.h"

namespace zeran {

Point3D snap_point(const DXF_Entity& element, Point3D p) {
    return SnapPoint(element, p);
}

std::vector<DXF_Entity*> chain_between(DXF_Entity* first, DXF_Entity* last,
                                       const selection_lists& lists, double tolerance) {
    return ChainBetween(first, last, lists, tolerance);
}

// Until the cycle engine clips, the same rules here: status 3 when nothing
// is left on or above the line.

ClipOutcome clip_at_axis(const DXF_Entity& element, double y) {
    ClipOutcome out{element.clone(), 0};
    if (auto* line = dynamic_cast<Line_*>(out.copy.get())) {
        Point3D& a = line->point;
        Point3D& b = line->end;
        if ((a.y < y && b.y < y) || (a.y <= y && b.y <= y)) {
            out.status = 3;
            return out;
        }
        auto cross = [&](Point3D p, Point3D q) {
            const double t = (y - p.y) / (q.y - p.y);
            return Point3D{p.x + t * (q.x - p.x), y, 0};
        };
        if (a.y < y) {
            a = cross(a, b);
            out.status = 1;
        } else if (b.y < y) {
            b = cross(a, b);
            out.status = 2;
        }
    } else if (auto* arc = dynamic_cast<Arc_*>(out.copy.get())) {
        const Point3D a = arc->point_at(arc->start_angle);
        const Point3D b = arc->point_at(arc->end_angle);
        if (a.y < y && b.y < y) {
            out.status = 3;
            return out;
        }
        const double s = std::clamp((y - arc->point.y) / arc->radius, -1.0, 1.0);
        if (a.y < y) {
            arc->start_angle = std::asin(s);
            out.status = 1;
        }
        if (b.y < y) {
            arc->end_angle = -std::asin(s) - std::numbers::pi;
            out.status = 2;
        }
    } else if (auto* poly = dynamic_cast<Polyline_*>(out.copy.get())) {
        std::vector<Point3D> kept;
        const auto& v = poly->vertices;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (v[i].y >= y) kept.push_back(v[i]);
            if (i + 1 < v.size() && ((v[i].y < y) != (v[i + 1].y < y))) {
                const double t = (y - v[i].y) / (v[i + 1].y - v[i].y);
                kept.push_back({v[i].x + t * (v[i + 1].x - v[i].x), y, 0});
            }
        }
        out.status = kept.empty() ? 3 : 1;
        poly->vertices = std::move(kept);
    }
    return out;
}

} // namespace zeran
