#include "cycles/entity_clip.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "geometry/point_entities.h"
#include "geometry/polyline.h"

namespace zeran {

namespace {

// The point where the segment a -> b crosses height y.
Point3D crossing(const Point3D& a, const Point3D& b, double y) {
    const double t = (y - a.y) / (b.y - a.y);
    return {a.x + (b.x - a.x) * t, y, a.z + (b.z - a.z) * t};
}

// Does the arc, running anticlockwise from start to end, pass angle `at`?
bool arc_passes(const Arc_& arc, double at) {
    constexpr double kTurn = 2 * std::numbers::pi;
    double sweep = std::fmod(arc.end_angle - arc.start_angle, kTurn);
    if (sweep <= 0) sweep += kTurn;
    double along = std::fmod(at - arc.start_angle, kTurn);
    if (along < 0) along += kTurn;
    return along < sweep;
}

ClipStatus clip_polyline(Polyline_& poly, double y) {
    const std::vector<Point3D> in = poly.vertices;
    std::vector<Point3D> out;
    const std::size_t n = in.size();
    const std::size_t edges = poly.closed ? n : (n == 0 ? 0 : n - 1);
    for (std::size_t i = 0; i < n; ++i) {
        const Point3D& a = in[i];
        if (a.y >= y) out.push_back(a);
        if (i >= edges) continue;
        const Point3D& b = in[(i + 1) % n];
        // A vertex exactly at the height is kept itself; no crossing to add.
        if ((a.y > y && b.y < y) || (a.y < y && b.y > y)) out.push_back(crossing(a, b, y));
    }
    poly.vertices = std::move(out);
    return poly.vertices.empty() ? ClipStatus::NothingLeft : ClipStatus::StartCut;
}

} // namespace

std::unique_ptr<DXF_Entity> CopyEntity(const DXF_Entity& entity) {
    const EntityKind kind = entity.kind();
    if (kind != EntityKind::Line && kind != EntityKind::Arc && kind != EntityKind::Polyline)
        return nullptr;
    std::unique_ptr<DXF_Entity> copy = entity.clone();
    copy->reversed = false;
    copy->source = &entity;
    return copy;
}

ClipResult ClipAtAxis(const DXF_Entity& entity, double y) {
    ClipResult result;
    result.copy = CopyEntity(entity);
    if (!result.copy) {
        result.status = ClipStatus::NothingLeft;
        return result;
    }
    if (auto* poly = dynamic_cast<Polyline_*>(result.copy.get())) {
        result.status = clip_polyline(*poly, y);
        return result;
    }

    auto* line =
        result.copy->kind() == EntityKind::Line ? static_cast<Line_*>(result.copy.get()) : nullptr;
    auto* arc = line == nullptr ? static_cast<Arc_*>(result.copy.get()) : nullptr;
    Point3D a = line ? line->point : arc->point_at(arc->start_angle);
    Point3D b = line ? line->end : arc->point_at(arc->end_angle);
    if (arc) {
        // An arc end computed from its angle misses the axis height by rounding
        // (sin pi is not 0); taken literally, a half circle under the axis
        // would be "cut" into a full circle.
        const double noise = 1e-9 * std::max(1.0, arc->radius);
        if (std::fabs(a.y - y) <= noise) a.y = y;
        if (std::fabs(b.y - y) <= noise) b.y = y;
        if (a.y <= y && b.y <= y && !(a.y < y && b.y < y) &&
            !arc_passes(*arc, std::numbers::pi / 2)) {
            // Both ends on or under the axis and the arc never climbs above it.
            result.status = ClipStatus::NothingLeft;
            return result;
        }
    }

    if (a.y < y && b.y < y) {
        // Both ends below: an arc may still rise above the axis between them,
        // and then keeps its top part; anything else is gone.
        const bool rises = arc != nullptr && arc->point.y + arc->radius > y &&
                           arc_passes(*arc, std::numbers::pi / 2);
        if (!rises) {
            result.status = ClipStatus::NothingLeft;
            return result;
        }
    } else if (a.y <= y && b.y <= y && line != nullptr) {
        result.status = ClipStatus::NothingLeft; // a line lying on the axis
        return result;
    }

    if (a.y < y) {
        result.status = ClipStatus::StartCut;
        if (line) {
            line->point = crossing(a, b, y);
        } else {
            double s = std::clamp((y - arc->point.y) / arc->radius, -1.0, 1.0);
            arc->start_angle = std::asin(s);
        }
    }
    if (b.y < y) {
        result.status = ClipStatus::EndCut;
        if (line) {
            line->end = crossing(a, b, y);
        } else {
            double s = std::clamp((y - arc->point.y) / arc->radius, -1.0, 1.0);
            arc->end_angle = -std::asin(s) - std::numbers::pi;
        }
    }
    return result;
}

} // namespace zeran
