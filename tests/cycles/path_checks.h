#pragma once
// Geometric checks of tool paths in cycle coordinates (X a radius, Z along
// the axis): the part as a closed region, moves sampled along their true
// shape (arcs as arcs), and the checks every generator must pass.
#include "cycles/can_cycle.h"
#include "cycles/cnc_groups.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace zeran::testing {

// One profile element in cycle coordinates: a line, or an arc about `centre`
// that runs counter-clockwise (Z to the right, X up) when `ccw`.
struct Seg {
    CyclePoint from;
    CyclePoint to;
    bool arc = false;
    CyclePoint centre{};
    bool ccw = true;
};

inline Seg line_seg(CyclePoint a, CyclePoint b) {
    return {a, b, false, {}, true};
}
inline Seg arc_seg(CyclePoint a, CyclePoint b, CyclePoint c, bool ccw) {
    return {a, b, true, c, ccw};
}

inline double angle_of(CyclePoint p, CyclePoint c) {
    return std::atan2(p.X - c.X, p.Z - c.Z);
}

// Counter-clockwise or clockwise sweep in radians from a to b about c, in
// (0, 2 pi]; a closed circle gives 2 pi.
inline double sweep_of(CyclePoint a, CyclePoint b, CyclePoint c, bool ccw) {
    double s = ccw ? angle_of(b, c) - angle_of(a, c) : angle_of(a, c) - angle_of(b, c);
    while (s <= 1e-12) s += 2 * std::numbers::pi;
    while (s > 2 * std::numbers::pi + 1e-12) s -= 2 * std::numbers::pi;
    return s;
}

// Points along an arc from a to b, ends included, at most `step_deg` apart.
inline std::vector<CyclePoint> arc_points(CyclePoint a, CyclePoint b, CyclePoint c, bool ccw,
                                          double step_deg = 1.0) {
    const double r = std::hypot(a.X - c.X, a.Z - c.Z);
    const double s = sweep_of(a, b, c, ccw);
    const int n = std::max(1, static_cast<int>(std::ceil(s * 180 / std::numbers::pi / step_deg)));
    const double t0 = angle_of(a, c);
    std::vector<CyclePoint> out;
    for (int i = 0; i <= n; ++i) {
        const double t = t0 + (ccw ? 1 : -1) * s * i / n;
        out.push_back({c.X + r * std::sin(t), c.Z + r * std::cos(t)});
    }
    out.back() = b;
    return out;
}

// A closed polygon; the part is its inside.
struct Region {
    std::vector<CyclePoint> poly;

    bool inside(CyclePoint p) const {
        bool in = false;
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const CyclePoint& a = poly[i];
            const CyclePoint& b = poly[j];
            if ((a.X > p.X) != (b.X > p.X) && p.Z < (b.Z - a.Z) * (p.X - a.X) / (b.X - a.X) + a.Z)
                in = !in;
        }
        return in;
    }
    double boundary_distance(CyclePoint p) const {
        double best = 1e300;
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const CyclePoint& a = poly[j];
            const CyclePoint& b = poly[i];
            const double dx = b.X - a.X, dz = b.Z - a.Z;
            const double len2 = dx * dx + dz * dz;
            double t = len2 > 0 ? ((p.X - a.X) * dx + (p.Z - a.Z) * dz) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            best = std::min(best, std::hypot(p.X - (a.X + t * dx), p.Z - (a.Z + t * dz)));
        }
        return best;
    }
    // How deep p lies inside the part (0 when outside).
    double depth(CyclePoint p) const { return inside(p) ? boundary_distance(p) : 0; }
};

// The profile closed by a line at X = close_x (0: to the axis; an outer
// radius for a bore) from its last point back to its first.
inline Region part_region(const std::vector<Seg>& profile, double close_x) {
    Region r;
    for (const Seg& s : profile) {
        if (s.arc) {
            const auto pts = arc_points(s.from, s.to, s.centre, s.ccw);
            r.poly.insert(r.poly.end(), pts.begin(), pts.end() - 1);
        } else {
            r.poly.push_back(s.from);
        }
    }
    const CyclePoint last = profile.back().to;
    r.poly.push_back(last);
    r.poly.push_back({close_x, last.Z});
    r.poly.push_back({close_x, profile.front().from.Z});
    return r;
}

// The shape of one move from `from`: its points at most `step` apart.
inline std::vector<CyclePoint> move_points(CyclePoint from, const TCNC_Groups& m, double step) {
    const CyclePoint to{m.X(), m.Z()};
    if (m.Motion() == kMotionClockwise || m.Motion() == kMotionCounterClockwise) {
        const double r = std::max(m.Radius(), 1e-9);
        return arc_points(from, to, {m.CentreX(), m.CentreZ()},
                          m.Motion() == kMotionCounterClockwise,
                          std::min(1.0, step / r * 180 / std::numbers::pi));
    }
    const double len = std::hypot(to.X - from.X, to.Z - from.Z);
    const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
    std::vector<CyclePoint> out;
    for (int i = 0; i <= n; ++i)
        out.push_back({from.X + (to.X - from.X) * i / n, from.Z + (to.Z - from.Z) * i / n});
    return out;
}

inline std::string point_text(CyclePoint p) {
    std::ostringstream s;
    s << "(X " << p.X << ", Z " << p.Z << ")";
    return s.str();
}

// Every move (feed, rapid or arc) that enters the part deeper than `tol`,
// as one line each; empty when the path keeps out. Threads are skipped.
inline std::vector<std::string> moves_inside_part(const TCanCycle& c, const Region& part,
                                                  double tol, double step = 0.05) {
    std::vector<std::string> out;
    CyclePoint prev = c.GetStartPoint();
    for (std::size_t i = 0; i < c.Moves.size(); ++i) {
        const TCNC_Groups& m = *c.Moves[i];
        if (m.Motion() != kMotionThread) {
            double worst = 0;
            CyclePoint at{};
            for (const CyclePoint& p : move_points(prev, m, step)) {
                const double d = part.depth(p);
                if (d > worst) {
                    worst = d;
                    at = p;
                }
            }
            if (worst > tol) {
                std::ostringstream s;
                s << "move " << i << " (motion " << m.Motion() << ") reaches " << worst
                  << " inside the part at " << point_text(at);
                out.push_back(s.str());
            }
        }
        prev = {m.X(), m.Z()};
    }
    return out;
}

// Arc moves whose start (the previous end) or end is off the circle.
inline std::vector<std::string> inconsistent_arcs(const TCanCycle& c, double tol) {
    std::vector<std::string> out;
    CyclePoint prev = c.GetStartPoint();
    for (std::size_t i = 0; i < c.Moves.size(); ++i) {
        const TCNC_Groups& m = *c.Moves[i];
        if (m.Motion() == kMotionClockwise || m.Motion() == kMotionCounterClockwise) {
            const CyclePoint centre{m.CentreX(), m.CentreZ()};
            const double rs = std::hypot(prev.X - centre.X, prev.Z - centre.Z);
            const double re = std::hypot(m.X() - centre.X, m.Z() - centre.Z);
            if (std::fabs(rs - m.Radius()) > tol || std::fabs(re - m.Radius()) > tol) {
                std::ostringstream s;
                s << "arc move " << i << " radius " << m.Radius() << " but start at " << rs
                  << " and end at " << re << " from the centre";
                out.push_back(s.str());
            }
        }
        prev = {m.X(), m.Z()};
    }
    return out;
}

// Moves that are not finite or carry the not-found marker.
inline std::vector<std::string> absurd_moves(const TCanCycle& c, double limit = 1e6) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < c.Moves.size(); ++i) {
        const TCNC_Groups& m = *c.Moves[i];
        for (double v : {m.X(), m.Z()}) {
            if (!std::isfinite(v) || std::fabs(v) > limit) {
                out.push_back("move " + std::to_string(i) + " goes to " +
                              point_text({m.X(), m.Z()}));
                break;
            }
        }
    }
    return out;
}

inline bool near(CyclePoint a, CyclePoint b, double tol = 1e-9) {
    return std::fabs(a.X - b.X) <= tol && std::fabs(a.Z - b.Z) <= tol;
}

inline CyclePoint end_of(const TCNC_Groups& m) {
    return {m.X(), m.Z()};
}

} // namespace zeran::testing
