#pragma once
// Measuring lines and arcs read from a curve against the curve's own
// equation: how far either strays from the other, and whether the pieces
// join into one chain without kinks.
#include "dxf_test_support.h"
#include "geometry/point_entities.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace zeran::test {

// A line from a to b, or an arc counter-clockwise from angle start (at a) to
// angle end (at b).
struct Piece {
    bool arc = false;
    Point2D a, b;
    Point2D centre;
    double radius = 0.0;
    double start = 0.0, end = 0.0;
};

inline double dist(Point2D p, Point2D q) {
    return std::hypot(p.x - q.x, p.y - q.y);
}

inline double ccw_sweep(double from, double to) {
    double s = std::fmod(to - from, 2 * std::numbers::pi);
    if (s <= 0) s += 2 * std::numbers::pi;
    return s;
}

inline std::vector<Piece> pieces_on(const ReadDrawing& d, std::string_view layer) {
    std::vector<Piece> out;
    const DXF_Layer* l = d.layer(layer);
    if (!l) return out;
    if (const Entity_List* lines = l->find_list("Line_"))
        for (const DXF_Entity* e : *lines) {
            const auto& line = static_cast<const Line_&>(*e);
            out.push_back(
                {false, {line.point.x, line.point.y}, {line.end.x, line.end.y}, {}, 0, 0, 0});
        }
    if (const Entity_List* arcs = l->find_list("Arc_"))
        for (const DXF_Entity* e : *arcs) {
            const auto& arc = static_cast<const Arc_&>(*e);
            const Point3D s = arc.point_at(arc.start_angle), t = arc.point_at(arc.end_angle);
            out.push_back({true,
                           {s.x, s.y},
                           {t.x, t.y},
                           {arc.point.x, arc.point.y},
                           arc.radius,
                           arc.start_angle,
                           arc.end_angle});
        }
    return out;
}

inline Point2D point_on(const Piece& p, double f) {
    if (!p.arc) return {p.a.x + (p.b.x - p.a.x) * f, p.a.y + (p.b.y - p.a.y) * f};
    const double angle = p.start + ccw_sweep(p.start, p.end) * f;
    return {p.centre.x + p.radius * std::cos(angle), p.centre.y + p.radius * std::sin(angle)};
}

inline double distance_to(const Piece& p, Point2D q) {
    if (!p.arc) {
        const double dx = p.b.x - p.a.x, dy = p.b.y - p.a.y;
        const double dd = dx * dx + dy * dy;
        const double f =
            dd > 0 ? std::clamp(((q.x - p.a.x) * dx + (q.y - p.a.y) * dy) / dd, 0.0, 1.0) : 0.0;
        return dist(q, {p.a.x + dx * f, p.a.y + dy * f});
    }
    const double angle = std::atan2(q.y - p.centre.y, q.x - p.centre.x);
    double along = std::fmod(angle - p.start, 2 * std::numbers::pi);
    if (along < 0) along += 2 * std::numbers::pi;
    if (along <= ccw_sweep(p.start, p.end)) return std::fabs(dist(q, p.centre) - p.radius);
    return std::min(dist(q, p.a), dist(q, p.b));
}

using Curve = std::function<Point2D(double)>;

// The farthest a densely sampled curve point lies from the chain.
inline double curve_to_chain(const Curve& c, double t0, double t1, const std::vector<Piece>& chain,
                             int samples = 3000) {
    double worst = 0;
    for (int i = 0; i <= samples; ++i) {
        const Point2D q = c(t0 + (t1 - t0) * i / samples);
        double best = 1e300;
        for (const Piece& p : chain) best = std::min(best, distance_to(p, q));
        worst = std::max(worst, best);
    }
    return worst;
}

// The farthest a point of the chain lies from the curve: the nearest of a
// dense sampling of the curve, refined by golden section.
inline double chain_to_curve(const std::vector<Piece>& chain, const Curve& c, double t0, double t1,
                             int samples = 1500) {
    std::vector<Point2D> pts;
    for (int i = 0; i <= samples; ++i) pts.push_back(c(t0 + (t1 - t0) * i / samples));
    const double step = (t1 - t0) / samples;
    double worst = 0;
    for (const Piece& p : chain)
        for (int k = 0; k <= 16; ++k) {
            const Point2D q = point_on(p, k / 16.0);
            // Refined about the four nearest samples: the start and end of a
            // closed curve are the same point, either may hold the nearest.
            std::vector<std::size_t> order(pts.size());
            for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
            std::partial_sort(
                order.begin(), order.begin() + 4, order.end(),
                [&](std::size_t i, std::size_t j) { return dist(pts[i], q) < dist(pts[j], q); });
            double best = dist(pts[order[0]], q);
            for (int n = 0; n < 4; ++n) {
                const double at = double(order[std::size_t(n)]);
                double lo = std::max(t0, t0 + step * (at - 1));
                double hi = std::min(t1, t0 + step * (at + 1));
                for (int it = 0; it < 60; ++it) {
                    const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
                    if (dist(c(m1), q) < dist(c(m2), q))
                        hi = m2;
                    else
                        lo = m1;
                }
                best = std::min(best, dist(c(0.5 * (lo + hi)), q));
            }
            worst = std::max(worst, best);
        }
    return worst;
}

struct ChainWalk {
    bool one_chain = false; // every piece used, each joined to the next
    Point2D last;
    double worst_kink = 0;        // largest turn of direction at a joint, radians
    std::vector<Point2D> corners; // joints turning more than a microradian
    std::size_t pieces = 0;
};

// Direction of travel at the start (at_end false) or end of a piece run from
// a to b, or from b to a when backwards.
inline Point2D direction(const Piece& p, bool backwards, bool at_end) {
    Point2D d;
    if (!p.arc) {
        d = {p.b.x - p.a.x, p.b.y - p.a.y};
    } else {
        const bool at_b = at_end != backwards;
        const double angle = at_b ? p.end : p.start;
        d = {-std::sin(angle), std::cos(angle)};
    }
    if (backwards) d = {-d.x, -d.y};
    const double l = std::hypot(d.x, d.y);
    return {d.x / l, d.y / l};
}

// Walks the pieces from `start`, each next piece beginning where the last ended.
inline ChainWalk walk_chain(std::vector<Piece> left, Point2D start, double join = 1e-7) {
    ChainWalk w;
    Point2D at = start;
    bool have_dir = false;
    Point2D dir;
    while (!left.empty()) {
        auto it = std::find_if(left.begin(), left.end(), [&](const Piece& p) {
            return dist(p.a, at) <= join || dist(p.b, at) <= join;
        });
        if (it == left.end()) return w;
        const bool backwards = dist(it->a, at) > join;
        const Point2D in = direction(*it, backwards, false);
        if (have_dir) {
            const double kink = std::acos(std::clamp(in.x * dir.x + in.y * dir.y, -1.0, 1.0));
            w.worst_kink = std::max(w.worst_kink, kink);
            if (kink > 1e-6) w.corners.push_back(at);
        }
        dir = direction(*it, backwards, true);
        have_dir = true;
        at = backwards ? it->a : it->b;
        left.erase(it);
        ++w.pieces;
    }
    w.one_chain = true;
    w.last = at;
    return w;
}

} // namespace zeran::test
