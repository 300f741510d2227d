#include "cycles/part_outline.h"

#include "cycles/can_cycle.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/selection_lists.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zeran {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Pieces whose ends and centres agree this closely are one element drawn twice.
constexpr double kCoincident = 1e-7;

double dist(CyclePoint p, CyclePoint q) {
    return std::hypot(p.X - q.X, p.Z - q.Z);
}

// Angle of p about c, from +Z towards +X, in [0, 2 pi).
double angle_about(CyclePoint p, CyclePoint c) {
    const double a = std::atan2(p.X - c.X, p.Z - c.Z);
    return a < 0 ? a + kTwoPi : a;
}

double radius_of(const OutlinePiece& arc) {
    return dist(arc.a, arc.centre);
}

// The counter-clockwise span from the lower angle end to the other, in [0, 2 pi).
double sweep_of(const OutlinePiece& arc) {
    const double from = angle_about(arc.ccw ? arc.a : arc.b, arc.centre);
    const double to = angle_about(arc.ccw ? arc.b : arc.a, arc.centre);
    double s = to - from;
    if (s < 0) s += kTwoPi;
    return s;
}

bool on_sweep(const OutlinePiece& arc, double angle) {
    double from = angle_about(arc.ccw ? arc.a : arc.b, arc.centre);
    double d = angle - from;
    if (d < 0) d += kTwoPi;
    return d <= sweep_of(arc);
}

CyclePoint on_circle(CyclePoint c, double r, double angle) {
    return {c.X + r * std::sin(angle), c.Z + r * std::cos(angle)};
}

// Arcs cut where Z turns (angles 0 and pi), so each piece is monotone in Z.
void add_monotone(const OutlinePiece& p, std::vector<OutlinePiece>& out) {
    if (!p.arc) {
        out.push_back(p);
        return;
    }
    const double r = radius_of(p);
    const CyclePoint lo = p.ccw ? p.a : p.b;
    double from = angle_about(lo, p.centre);
    const double sweep = sweep_of(p);
    CyclePoint at = lo;
    double done = 0;
    while (done < sweep) {
        // The next turn of Z after `from`: 0 or pi.
        double next = from < std::numbers::pi ? std::numbers::pi : kTwoPi;
        double step = std::min(next - from, sweep - done);
        if (step <= 0) step = sweep - done;
        const bool last = done + step >= sweep;
        const CyclePoint to = last ? (p.ccw ? p.b : p.a) : on_circle(p.centre, r, from + step);
        out.push_back(outline_arc(at, to, p.centre, true));
        at = to;
        done += step;
        from = std::fmod(from + step, kTwoPi);
    }
}

bool same_piece(const OutlinePiece& p, const OutlinePiece& q) {
    const auto near = [](CyclePoint a, CyclePoint b) { return dist(a, b) <= kCoincident; };
    if (p.arc != q.arc) return false;
    if (p.arc && !near(p.centre, q.centre)) return false;
    const bool same_way = near(p.a, q.a) && near(p.b, q.b);
    const bool other_way = near(p.a, q.b) && near(p.b, q.a);
    // An arc the other way round is the same only when it turns the other way.
    return p.arc ? (same_way && p.ccw == q.ccw) || (other_way && p.ccw != q.ccw)
                 : same_way || other_way;
}

CyclePoint cycle_point(const Point3D& q, const DrawingPoint& datum) {
    return {q.y - datum.y, q.x - datum.x};
}

} // namespace

OutlinePiece outline_line(CyclePoint a, CyclePoint b) {
    return {a, b, false, {}, true};
}

OutlinePiece outline_arc(CyclePoint a, CyclePoint b, CyclePoint centre, bool ccw) {
    return {a, b, true, centre, ccw};
}

double length_of(const OutlinePiece& p) {
    if (!p.arc) return dist(p.a, p.b);
    return radius_of(p) * sweep_of(p);
}

CyclePoint point_along(const OutlinePiece& p, double t) {
    if (!p.arc) return {p.a.X + (p.b.X - p.a.X) * t, p.a.Z + (p.b.Z - p.a.Z) * t};
    const double s = sweep_of(p) * (p.ccw ? t : -t);
    return on_circle(p.centre, radius_of(p), angle_about(p.a, p.centre) + s);
}

double distance_to(CyclePoint p, const OutlinePiece& piece) {
    if (piece.arc) {
        const double r = radius_of(piece);
        if (dist(p, piece.centre) > 0 && on_sweep(piece, angle_about(p, piece.centre)))
            return std::fabs(dist(p, piece.centre) - r);
        return std::min(dist(p, piece.a), dist(p, piece.b));
    }
    const double dz = piece.b.Z - piece.a.Z, dx = piece.b.X - piece.a.X;
    const double len2 = dz * dz + dx * dx;
    double t = len2 > 0 ? ((p.Z - piece.a.Z) * dz + (p.X - piece.a.X) * dx) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return dist(p, {piece.a.X + dx * t, piece.a.Z + dz * t});
}

PartOutline::PartOutline(std::vector<OutlinePiece> pieces) {
    // An element drawn twice would cancel itself out of the crossing count.
    for (const OutlinePiece& p : pieces)
        if (std::none_of(pieces_.begin(), pieces_.end(),
                         [&](const OutlinePiece& q) { return same_piece(p, q); }))
            pieces_.push_back(p);
    for (const OutlinePiece& p : pieces_) {
        add_monotone(p, monotone_);
        extents_.Add(p.a);
        extents_.Add(p.b);
        if (p.arc) {
            // The arc's own extremes in X and Z.
            const double r = radius_of(p);
            for (double a : {0.0, std::numbers::pi / 2, std::numbers::pi, 3 * std::numbers::pi / 2})
                if (on_sweep(p, a)) extents_.Add(on_circle(p.centre, r, a));
        }
    }
}

std::vector<double> PartOutline::crossings(double z) const {
    std::vector<double> xs;
    for (const OutlinePiece& p : monotone_) {
        // Half-open in Z, so a ray through a shared end counts once.
        if ((p.a.Z <= z) == (p.b.Z <= z)) continue;
        if (!p.arc) {
            const double t = (z - p.a.Z) / (p.b.Z - p.a.Z);
            xs.push_back(p.a.X + (p.b.X - p.a.X) * t);
            continue;
        }
        const double r = radius_of(p);
        const double dz = std::clamp(z - p.centre.Z, -r, r);
        const double h = std::sqrt(std::max(0.0, r * r - dz * dz));
        // A monotone piece lies wholly on one side of its centre's Z line.
        const double mid_x = point_along(p, 0.5).X;
        xs.push_back(mid_x >= p.centre.X ? p.centre.X + h : p.centre.X - h);
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

bool PartOutline::inside(CyclePoint p, bool from_above) const {
    if (p.X <= 0) return false;
    int crossed = 0;
    for (double x : crossings(p.Z))
        if (from_above ? x > p.X : x < p.X) ++crossed;
    return crossed % 2 == 1;
}

double PartOutline::distance(CyclePoint p) const {
    double best = 1e300;
    for (const OutlinePiece& piece : pieces_) best = std::min(best, distance_to(p, piece));
    return best;
}

double PartOutline::depth(CyclePoint p, bool from_above) const {
    if (!inside(p, from_above)) return 0;
    return from_above ? std::min(distance(p), p.X) : distance(p);
}

PartOutline outline_of(const selection_lists& lists, const DrawingPoint& datum,
                       const std::vector<const DXF_Entity*>& left_out) {
    std::vector<OutlinePiece> pieces;
    for (const auto& list : lists) {
        for (const DXF_Entity* e : *list) {
            if (std::find(left_out.begin(), left_out.end(), e) != left_out.end()) continue;
            if (const auto* arc = dynamic_cast<const Arc_*>(e)) {
                const CyclePoint c = cycle_point(arc->point, datum);
                pieces.push_back(outline_arc(cycle_point(arc->point_at(arc->start_angle), datum),
                                             cycle_point(arc->point_at(arc->end_angle), datum), c,
                                             true));
            } else if (const auto* line = dynamic_cast<const Line_*>(e)) {
                pieces.push_back(
                    outline_line(cycle_point(line->point, datum), cycle_point(line->end, datum)));
            } else if (const auto* poly = dynamic_cast<const Polyline_*>(e)) {
                const auto& v = poly->vertices;
                for (std::size_t i = 0; i + 1 < v.size(); ++i)
                    pieces.push_back(
                        outline_line(cycle_point(v[i], datum), cycle_point(v[i + 1], datum)));
                if (poly->closed && v.size() > 2)
                    pieces.push_back(
                        outline_line(cycle_point(v.back(), datum), cycle_point(v.front(), datum)));
            }
        }
    }
    return PartOutline(std::move(pieces));
}

} // namespace zeran
