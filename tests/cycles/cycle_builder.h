#pragma once
// Builds a cycle the way the main window does: drawing entities made from a
// profile in cycle coordinates, a datum, a definition, then Generate.
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/point_entities.h"
#include "path_checks.h"

#include <memory>
#include <numbers>
#include <vector>

namespace zeran::testing {

inline constexpr DrawingPoint kDatum{100, 50};

inline double degrees_of(CyclePoint p, CyclePoint c) {
    double a = angle_of(p, c) * 180 / std::numbers::pi;
    return a < 0 ? a + 360 : a;
}

struct BuiltCycle {
    std::vector<std::unique_ptr<DXF_Entity>> entities;
    std::unique_ptr<TCanCycle> cycle = std::make_unique<TCanCycle>();
    std::shared_ptr<int> refusals = std::make_shared<int>(0);
};

// An entity for each segment in drawing coordinates; a clockwise arc is made
// counter-clockwise the other way round, as a drawing holds it.
inline std::unique_ptr<DXF_Entity> entity_of(const Seg& s, DrawingPoint datum = kDatum) {
    const auto drawing = [&](CyclePoint p) { return Point3D{p.Z + datum.x, p.X + datum.y, 0}; };
    if (!s.arc) return std::make_unique<Line_>(drawing(s.from), 7, drawing(s.to));
    const double r = std::hypot(s.from.X - s.centre.X, s.from.Z - s.centre.Z);
    const double a = degrees_of(s.from, s.centre);
    const double b = degrees_of(s.to, s.centre);
    return std::make_unique<Arc_>(Point3D{0, 0, 1}, 7, s.ccw ? a : b, s.ccw ? b : a, r,
                                  drawing(s.centre));
}

inline TCycleParams default_params(std::uint8_t units = 0) {
    TCycleParams p;
    p.Units = units;
    p.Feed = 0.2;
    p.Speed = 1000;
    p.DepthCutX = 1;
    p.DepthCutZ = 1;
    p.RetractX = 0.5;
    p.RetractZ = 0.5;
    p.Repeats = 3;
    return p;
}

inline BuiltCycle build_cycle(CycleKind kind, const std::vector<Seg>& profile, CyclePoint start,
                              const TCycleParams& params, DrawingPoint datum = kDatum) {
    BuiltCycle b;
    for (const Seg& s : profile) b.entities.push_back(entity_of(s, datum));
    TCanCycle& c = *b.cycle;
    c.Kind = kind;
    c.Datum = datum;
    std::vector<DXF_Entity*> elements;
    for (auto& e : b.entities) elements.push_back(e.get());
    c.SetElements(elements);
    c.SetDefinition({true, params, start.X, start.Z});
    c.OnProfileDirection = [count = b.refusals](TCanCycle&) { ++*count; };
    c.SetNeedsGenerate(true);
    return b;
}

} // namespace zeran::testing
