#include "cycles/picking_geometry.h"

#include <cmath>
#include <numbers>

#include "geometry/entity_list.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/selection_lists.h"

namespace zeran {

namespace {

constexpr int kChainRounds = 1000;

double arc_sweep_degrees(const Arc_& arc) {
    double start = degrees(arc.start_angle);
    double end = degrees(arc.end_angle);
    return start > end ? end + 360.0 - start : end - start;
}

// The arc's current ends and centre, following its reversed flag.
bool arc_clockwise(const Arc_& arc, double tolerance, int depth) {
    const Point3D s = arc.start_point();
    const Point3D e = arc.end_point();
    const Point3D c{arc.point.x, arc.point.y, 0};
    const Point3D n = Perpendicular(UnitVector(e, s), true);
    Point3D b = UnitSum(UnitVector(c, s), UnitVector(c, e));
    const double a = arc_sweep_degrees(arc);
    const bool half_circle = std::fabs(a - 180.0) <= 1e-6;
    const bool no_bisector = b.x == 0 && b.y == 0;
    if (!half_circle && !no_bisector) {
        if (a > 180.0) b = b * -1.0;
        return PointsCoincide(b, n, tolerance);
    }
    // A half circle has no bisector to compare: decide on a shortened copy.
    // A copy that is still undecided (a zero radius) counts as anticlockwise.
    if (depth > 0) return false;
    Arc_ shorter(arc);
    shorter.start_angle += std::numbers::pi / 10;
    shorter.end_angle -= std::numbers::pi / 10;
    return arc_clockwise(shorter, tolerance, depth + 1);
}

} // namespace

void TEMaxMin::Add(const Point3D& p) {
    if (p.x > Max.x) Max.x = p.x;
    if (p.y > Max.y) Max.y = p.y;
    if (p.x < Min.x) Min.x = p.x;
    if (p.y < Min.y) Min.y = p.y;
}

void TEMaxMin::Add(const DXF_Entity& entity) {
    if (entity.kind() == EntityKind::Circle) {
        const auto& circle = static_cast<const Circle_&>(entity);
        const Point3D r{circle.radius, circle.radius, 0};
        Add(circle.point - r);
        Add(circle.point + r);
        return;
    }
    Add(entity.start_point());
    Add(entity.end_point());
}

bool PointsCoincide(const Point3D& a, const Point3D& b, double tolerance) {
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

std::pair<Point3D, Point3D> EntityEnds(const DXF_Entity& entity) {
    auto flat = [](Point3D p) {
        p.z = 0;
        return p;
    };
    if (entity.kind() == EntityKind::Arc) {
        const auto& arc = static_cast<const Arc_&>(entity);
        return {arc.point_at(arc.start_angle), arc.point_at(arc.end_angle)};
    }
    if (entity.kind() == EntityKind::Line) {
        const auto& line = static_cast<const Line_&>(entity);
        return {flat(line.point), flat(line.end)};
    }
    if (const auto* poly = dynamic_cast<const Polyline_*>(&entity)) {
        if (poly->vertices.empty()) return {ORIGIN, ORIGIN};
        return {flat(poly->vertices.front()), flat(poly->vertices.back())};
    }
    return {flat(entity.start_point()), flat(entity.end_point())};
}

Point3D EntityMiddle(const DXF_Entity& entity) {
    if (entity.kind() == EntityKind::Arc) {
        const auto& arc = static_cast<const Arc_&>(entity);
        double a0 = arc.start_angle, a1 = arc.end_angle;
        double mid = a0 > a1 ? (a0 + a1 + 2 * std::numbers::pi) / 2 : (a0 + a1) / 2;
        return arc.point_at(mid);
    }
    if (const auto* poly = dynamic_cast<const Polyline_*>(&entity)) {
        if (poly->vertices.empty()) return ORIGIN;
        Point3D v = poly->vertices[(poly->vertices.size() - 1) / 2];
        v.z = 0;
        return v;
    }
    auto [s, e] = EntityEnds(entity);
    return {(s.x + e.x) / 2, (s.y + e.y) / 2, 0};
}

Point3D SnapPoint(const DXF_Entity& entity, const Point3D& p) {
    auto [s, e] = EntityEnds(entity);
    const Point3D candidates[3] = {s, e, EntityMiddle(entity)};
    Point3D result = p;
    for (int i = 0; i < 3; ++i) {
        const double dx = std::fabs(candidates[i].x - p.x);
        const double dy = std::fabs(candidates[i].y - p.y);
        bool nearest = true;
        for (int j = 0; j < 3; ++j) {
            if (j == i) continue;
            if (dx > std::fabs(candidates[j].x - p.x) || dy > std::fabs(candidates[j].y - p.y))
                nearest = false;
        }
        if (nearest) result = candidates[i];
    }
    return result;
}

DXF_Entity* NearestEntity(const Point3D& p, const selection_lists& lists) {
    DXF_Entity* best = nullptr;
    double best_distance = 1e10;
    for (const auto& list : lists) {
        for (DXF_Entity* entity : *list) {
            auto [s, e] = EntityEnds(*entity);
            const Point3D mid{(s.x + e.x) / 2, (s.y + e.y) / 2, 0};
            const double d = distance_xy(mid, p);
            if (d < best_distance) {
                best_distance = d;
                best = entity;
            }
        }
    }
    return best;
}

bool EntityInArray(const DXF_Entity* entity, const std::vector<DXF_Entity*>& array) {
    for (const DXF_Entity* e : array)
        if (e == entity) return true;
    return false;
}

DXF_Entity* FindConnected(const Point3D& a, const Point3D& b, std::vector<DXF_Entity*>& array,
                          const selection_lists& lists, double tolerance) {
    for (const auto& list : lists) {
        for (DXF_Entity* entity : *list) {
            if (EntityInArray(entity, array)) continue;
            auto [s, e] = EntityEnds(*entity);
            auto near = [&](const Point3D& x, const Point3D& y) {
                return PointsCoincide(x, y, tolerance);
            };
            bool touches = (near(a, e) && !near(b, s)) || (near(a, s) && !near(b, e)) ||
                           (near(b, e) && !near(a, s)) || (near(b, s) && !near(a, e));
            if (touches) {
                array.push_back(entity);
                return entity;
            }
        }
    }
    return nullptr;
}

std::vector<DXF_Entity*> ChainBetween(DXF_Entity* first, DXF_Entity* last,
                                      const selection_lists& lists, double tolerance) {
    if (first == nullptr || last == nullptr) return {};
    struct Chain {
        std::vector<DXF_Entity*> entities;
        Point3D a;
        Point3D b = kNoPoint;
    };
    auto [first_start, first_end] = EntityEnds(*first);
    Chain chains[2];
    chains[0].entities = {first};
    chains[0].a = first_end;
    chains[1].entities = {first};
    chains[1].a = first_start;
    for (int round = 0; round < kChainRounds; ++round) {
        for (Chain& chain : chains) {
            DXF_Entity* found = FindConnected(chain.a, chain.b, chain.entities, lists, tolerance);
            if (found == nullptr) continue;
            auto [s, e] = EntityEnds(*found);
            chain.b = s;
            chain.a = e;
            if (found == last) return chain.entities;
        }
    }
    return {};
}

bool ArcIsClockwise(const Arc_& arc, double tolerance) {
    return arc_clockwise(arc, tolerance, 0);
}

Point3D UnitOf(const Point3D& v) {
    const double len = std::sqrt(v.x * v.x + v.y * v.y);
    if (len == 0 || !std::isfinite(len)) return {0, 0, 0};
    return {v.x / len, v.y / len, 0};
}

Point3D UnitVector(const Point3D& from, const Point3D& to) {
    return UnitOf(to - from);
}

Point3D Perpendicular(const Point3D& v, bool flag) {
    return flag ? Point3D{v.y, -v.x, 0} : Point3D{-v.y, v.x, 0};
}

Point3D UnitSum(const Point3D& a, const Point3D& b) {
    return UnitOf(a + b);
}

DirectionArrow ElementDirection(const DXF_Entity& entity, double tolerance) {
    const Point3D end = entity.end_point();
    if (entity.kind() == EntityKind::Arc) {
        const auto& arc = static_cast<const Arc_&>(entity);
        const Point3D radial = UnitVector({arc.point.x, arc.point.y, 0}, end);
        return {end, Perpendicular(radial, ArcIsClockwise(arc, tolerance))};
    }
    return {end, UnitVector(entity.start_point(), end)};
}

} // namespace zeran
