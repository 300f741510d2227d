#include "verify_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace zeran::verify {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double wrap(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// Where along the arc (radians from its start, in its own turning sense) the
// angle `theta` lies.
double along(const Piece& arc, double theta) {
    const double start = angle_about(arc.a, arc.centre);
    return arc.ccw ? wrap(theta - start) : wrap(start - theta);
}

Pt on_circle(Pt c, double r, double theta) {
    return {c.x + r * std::sin(theta), c.z + r * std::cos(theta)};
}

} // namespace

Piece line_piece(Pt a, Pt b) {
    return {a, b, false, {}, true};
}

Piece arc_piece(Pt a, Pt b, Pt centre, bool ccw) {
    return {a, b, true, centre, ccw};
}

double dist(Pt p, Pt q) {
    return std::hypot(p.x - q.x, p.z - q.z);
}

double angle_about(Pt p, Pt c) {
    return wrap(std::atan2(p.x - c.x, p.z - c.z));
}

double radius_of(const Piece& arc) {
    return dist(arc.a, arc.centre);
}

double sweep_of(const Piece& arc) {
    if (dist(arc.a, arc.b) < 1e-12) return 0;
    return along(arc, angle_about(arc.b, arc.centre));
}

double length_of(const Piece& p) {
    return p.arc ? radius_of(p) * sweep_of(p) : dist(p.a, p.b);
}

Pt point_at(const Piece& p, double t) {
    if (t >= 1) return p.b;
    if (!p.arc) return {p.a.x + (p.b.x - p.a.x) * t, p.a.z + (p.b.z - p.a.z) * t};
    const double start = angle_about(p.a, p.centre);
    const double s = sweep_of(p) * t;
    return on_circle(p.centre, radius_of(p), p.ccw ? start + s : start - s);
}

double distance_to(Pt p, const Piece& piece) {
    if (piece.arc) {
        const double sweep = sweep_of(piece);
        if (sweep > 0 && along(piece, angle_about(p, piece.centre)) <= sweep)
            return std::fabs(dist(p, piece.centre) - radius_of(piece));
        return std::min(dist(p, piece.a), dist(p, piece.b));
    }
    const double dx = piece.b.x - piece.a.x, dz = piece.b.z - piece.a.z;
    const double len2 = dx * dx + dz * dz;
    double t = len2 > 0 ? ((p.x - piece.a.x) * dx + (p.z - piece.a.z) * dz) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return dist(p, {piece.a.x + t * dx, piece.a.z + t * dz});
}

Piece shifted(const Piece& p, Pt by) {
    Piece out = p;
    for (Pt* q : {&out.a, &out.b, &out.centre}) {
        q->x += by.x;
        q->z += by.z;
    }
    return out;
}

Piece reversed(const Piece& p) {
    Piece out = p;
    std::swap(out.a, out.b);
    out.ccw = !p.ccw;
    return out;
}

Region::Region(std::vector<Piece> boundary) : pieces_(std::move(boundary)) {
    const auto grow = [&](Pt p) {
        lo_ = {std::min(lo_.x, p.x), std::min(lo_.z, p.z)};
        hi_ = {std::max(hi_.x, p.x), std::max(hi_.z, p.z)};
    };
    for (const Piece& p : pieces_) {
        grow(p.a);
        grow(p.b);
        if (!p.arc) {
            monotone_.push_back(p);
            continue;
        }
        // Split where x turns (angles pi/2 and 3 pi/2 from +z), so that each
        // part meets a line of constant x at most once.
        const double sweep = sweep_of(p);
        const double r = radius_of(p);
        std::vector<double> cuts{0.0};
        for (double turn : {std::numbers::pi / 2, 3 * std::numbers::pi / 2}) {
            const double at = along(p, turn);
            if (at > 0 && at < sweep) cuts.push_back(at);
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.push_back(sweep);
        const double start = angle_about(p.a, p.centre);
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            const double t0 = p.ccw ? start + cuts[i] : start - cuts[i];
            const double t1 = p.ccw ? start + cuts[i + 1] : start - cuts[i + 1];
            Piece part = p;
            part.a = i == 0 ? p.a : on_circle(p.centre, r, t0);
            part.b = i + 2 == cuts.size() ? p.b : on_circle(p.centre, r, t1);
            monotone_.push_back(part);
            for (double t : {t0, t1, (t0 + t1) / 2}) grow(on_circle(p.centre, r, t));
        }
    }
}

bool Region::contains(Pt p) const {
    if (p.x < lo_.x || p.x > hi_.x || p.z < lo_.z || p.z > hi_.z) return false;
    bool in = false;
    for (const Piece& s : monotone_) {
        if ((s.a.x > p.x) == (s.b.x > p.x)) continue;
        double z = 0;
        if (!s.arc) {
            z = s.a.z + (s.b.z - s.a.z) * (p.x - s.a.x) / (s.b.x - s.a.x);
        } else {
            const double r = radius_of(s);
            const double dz =
                std::sqrt(std::max(0.0, r * r - (p.x - s.centre.x) * (p.x - s.centre.x)));
            // The half of the circle the part lies in: its middle decides.
            const Pt mid = point_at(s, 0.5);
            z = mid.z >= s.centre.z ? s.centre.z + dz : s.centre.z - dz;
        }
        if (z > p.z) in = !in;
    }
    return in;
}

double Region::boundary_distance(Pt p) const {
    double best = 1e300;
    for (const Piece& s : pieces_) best = std::min(best, distance_to(p, s));
    return best;
}

double Region::depth(Pt p) const {
    const double d = boundary_distance(p);
    return contains(p) ? d : -d;
}

Penetration deepest_inside(const Piece& path, const Region& region, double min_step) {
    Penetration worst;
    const double len = length_of(path);
    // A path whose box misses the region's box stays out.
    double lx = std::min(path.a.x, path.b.x), hx = std::max(path.a.x, path.b.x);
    double lz = std::min(path.a.z, path.b.z), hz = std::max(path.a.z, path.b.z);
    if (path.arc) {
        const double r = radius_of(path);
        lx = std::min(lx, path.centre.x - r), hx = std::max(hx, path.centre.x + r);
        lz = std::min(lz, path.centre.z - r), hz = std::max(hz, path.centre.z + r);
    }
    if (hx < region.min_x() || lx > region.max_x() || hz < region.min_z() || lz > region.max_z())
        return worst;
    double s = 0;
    while (true) {
        const Pt q = point_at(path, len > 0 ? s / len : 1);
        const double d = region.depth(q);
        if (d > worst.depth) worst = {d, q};
        if (s >= len) break;
        // The depth changes no faster than the distance travelled.
        s = std::min(len, s + std::max(min_step, -d));
    }
    return worst;
}

std::string text(Pt p) {
    std::ostringstream s;
    s.precision(10);
    s << "(X " << p.x << ", Z " << p.z << ")";
    return s.str();
}

} // namespace zeran::verify
