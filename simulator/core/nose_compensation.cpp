#include "nose_compensation.h"

#include "stock_model.h"

#include <cmath>
#include <numbers>

namespace simvo {

namespace {

// Directions below this cross product go straight on.
constexpr double kStraight = 1e-9;
// Steps of the round about a corner and of the grown insert.
constexpr int kRoundSteps = 32;

struct Dir {
    double z = 0, x = 0;
};

double cross(Dir a, Dir b) {
    return a.z * b.x - a.x * b.z;
}

Dir unit(Point a, Point b) {
    const double dz = b.z - a.z, dx = b.x - a.x, len = std::hypot(dz, dx);
    return {dz / len, dx / len};
}

Point shifted(Point p, Dir d, double by) {
    return {p.x + by * d.z, p.z - by * d.x}; // by * the left normal (-dx, dz)
}

struct Offset {
    Point a, b;
    Dir dir;
};

// The centre swings about the corner `c` from `from` to `to`, the way the
// path turns.
void round_corner(Polyline& out, Point c, Point from, Point to, bool counter_clockwise) {
    const double a0 = std::atan2(from.x - c.x, from.z - c.z);
    double sweep = std::atan2(to.x - c.x, to.z - c.z) - a0;
    const double turn = 2 * std::numbers::pi;
    if (counter_clockwise && sweep < 0) sweep += turn;
    if (!counter_clockwise && sweep > 0) sweep -= turn;
    const double r = std::hypot(from.x - c.x, from.z - c.z);
    const int n = static_cast<int>(std::ceil(std::fabs(sweep) / (turn / kRoundSteps)));
    for (int k = 1; k < n; ++k) {
        const double a = a0 + sweep * k / n;
        out.push_back({c.x + r * std::sin(a), c.z + r * std::cos(a)});
    }
    out.push_back(to);
}

} // namespace

Polyline nose_centre_path(const Polyline& programmed, double radius, Compensation side) {
    if (side == Compensation::Off || !(radius > 0)) return programmed;
    Polyline p;
    for (Point q : programmed)
        if (p.empty() || q.x != p.back().x || q.z != p.back().z) p.push_back(q);
    if (p.size() < 2) return p;
    const double by = side == Compensation::Left ? radius : -radius;
    std::vector<Offset> seg;
    for (std::size_t i = 1; i < p.size(); ++i) {
        const Dir d = unit(p[i - 1], p[i]);
        seg.push_back({shifted(p[i - 1], d, by), shifted(p[i], d, by), d});
    }
    Polyline out{seg.front().a};
    for (std::size_t i = 0; i + 1 < seg.size(); ++i) {
        const Offset &s = seg[i], &t = seg[i + 1];
        const double turn = cross(s.dir, t.dir);
        const bool ahead = s.dir.z * t.dir.z + s.dir.x * t.dir.x > 0;
        if (std::fabs(turn) <= kStraight && ahead) {
            out.push_back(s.b);
            continue;
        }
        // Turning towards the round's side closes in on it: the offsets cross.
        const bool inward =
            std::fabs(turn) > kStraight && (side == Compensation::Left ? turn > 0 : turn < 0);
        if (inward) {
            const Dir between{t.a.z - s.a.z, t.a.x - s.a.x};
            const double along = cross(between, t.dir) / turn;
            out.push_back({s.a.x + along * s.dir.x, s.a.z + along * s.dir.z});
            continue;
        }
        out.push_back(s.b);
        round_corner(out, p[i + 1], s.b, t.a, side == Compensation::Right);
    }
    out.push_back(seg.back().b);
    return out;
}

Polyline rounded_insert(const Polyline& outline, double radius) {
    if (!(radius > 0)) return outline;
    Polyline grown;
    for (Point v : outline)
        for (int k = 0; k < kRoundSteps; ++k) {
            const double a = 2 * std::numbers::pi * k / kRoundSteps;
            grown.push_back({v.x + radius * std::sin(a), v.z + radius * std::cos(a)});
        }
    return StockModel::sweep(grown, {0, 0}, {0, 0});
}

} // namespace simvo
