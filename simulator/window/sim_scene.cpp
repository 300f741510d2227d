#include "sim_scene.h"

#include <algorithm>

namespace simvo {

namespace {

constexpr zeran::Colour kStock = 0xB4B4B4; // 0x00BBGGRR
constexpr zeran::Colour kStockEdge = 0x505050;
constexpr zeran::Colour kFuture = 0xD8D8D8;
constexpr zeran::Colour kInsert = 0x00C8FF;

zeran::Colour colour_of(MotionKind kind, const zeran::ColourSet& c) {
    switch (kind) {
    case MotionKind::Rapid:
        return c[zeran::kColourRapid];
    case MotionKind::Feed:
        return c[zeran::kColourLinear];
    case MotionKind::ArcCW:
        return c[zeran::kColourClockwise];
    case MotionKind::ArcCCW:
        return c[zeran::kColourCounterClockwise];
    case MotionKind::Thread:
        return c[zeran::kColourThread];
    }
    return 0;
}

double signed_area(const Polyline& p) {
    double a = 0;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        a += (p[j].z - p[i].z) * (p[j].x + p[i].x);
    return a / 2;
}

std::vector<zeran::DevicePoint> device(const Polyline& p, const WorldToDevice& map) {
    std::vector<zeran::DevicePoint> out;
    out.reserve(p.size());
    for (Point q : p) out.push_back(map(q.z, q.x));
    return out;
}

void draw_motion(zeran::Canvas& canvas, const WorldToDevice& map, const Motion& m) {
    canvas.polyline(device(motion_path(m, 0.005), map));
}

} // namespace

void draw_simulation(zeran::Canvas& canvas, const WorldToDevice& map, const Simulation& sim,
                     const zeran::ColourSet& colours) {
    // Material: outer outlines filled, holes cut back in the background colour.
    const std::vector<Polyline> outlines = sim.stock().outlines();
    canvas.set_pen_style(zeran::PenStyle::Solid);
    canvas.set_pen_width(1);
    for (bool holes : {false, true}) {
        for (const Polyline& p : outlines) {
            if (p.size() < 3 || (signed_area(p) < 0) != holes) continue;
            canvas.set_pen_colour(kStockEdge);
            canvas.set_brush(zeran::BrushStyle::Solid,
                             holes ? colours[zeran::kColourBackground] : kStock);
            canvas.polygon(device(p, map));
        }
    }
    canvas.set_brush(zeran::BrushStyle::Clear, 0);

    const auto& motions = sim.program().motions;
    canvas.set_pen_style(zeran::PenStyle::Dot);
    canvas.set_pen_colour(kFuture);
    for (std::size_t i = sim.next(); i < motions.size(); ++i) draw_motion(canvas, map, motions[i]);
    canvas.set_pen_style(zeran::PenStyle::Solid);
    for (std::size_t i = 0; i < sim.next(); ++i) {
        canvas.set_pen_style(motions[i].kind == MotionKind::Rapid ? zeran::PenStyle::Dash
                                                                  : zeran::PenStyle::Solid);
        canvas.set_pen_colour(colour_of(motions[i].kind, colours));
        draw_motion(canvas, map, motions[i]);
    }

    // The centre line, and the insert at the end of the last move made.
    canvas.set_pen_style(zeran::PenStyle::DashDot);
    canvas.set_pen_colour(0x000000);
    if (!motions.empty()) {
        const SceneExtents e = scene_extents(sim, {});
        canvas.line(map(e.z_min, 0), map(e.z_max, 0));
    }
    if (sim.next() == 0 || motions.empty()) return;
    const Motion& last = motions[sim.next() - 1];
    Polyline insert = sim.insert_for(last);
    for (Point& q : insert) q = {q.x + last.to.x, q.z + last.to.z};
    canvas.set_pen_style(zeran::PenStyle::Solid);
    canvas.set_pen_colour(0x000000);
    canvas.set_brush(zeran::BrushStyle::Solid, kInsert);
    canvas.polygon(device(insert, map));
    canvas.set_brush(zeran::BrushStyle::Clear, 0);
}

SceneExtents scene_extents(const Simulation& sim, StockSize stock) {
    SceneExtents e{stock.front - stock.length, stock.front, 0, stock.radius};
    for (const Motion& m : sim.program().motions) {
        // Moves to and from the machine's home would shrink the part to a dot.
        if (m.kind == MotionKind::Rapid) continue;
        for (Point p : {m.from, m.to}) {
            e.z_min = std::min(e.z_min, p.z);
            e.z_max = std::max(e.z_max, p.z);
            e.x_max = std::max(e.x_max, p.x);
        }
    }
    if (e.z_max - e.z_min <= 0) e.z_max = e.z_min + 1;
    if (e.x_max <= 0) e.x_max = 1;
    return e;
}

} // namespace simvo
