#include "cycles/nose_offset.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace zeran {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Plane vectors with Z as the first axis and X as the second, so that
// counter-clockwise has its usual sense.
struct V {
    double u = 0; // Z
    double v = 0; // X
};

V vec(CyclePoint p) {
    return {p.Z, p.X};
}
CyclePoint point(V p) {
    return {p.v, p.u};
}
V operator+(V a, V b) {
    return {a.u + b.u, a.v + b.v};
}
V operator-(V a, V b) {
    return {a.u - b.u, a.v - b.v};
}
V operator*(double k, V a) {
    return {k * a.u, k * a.v};
}
double dot(V a, V b) {
    return a.u * b.u + a.v * b.v;
}
double cross(V a, V b) {
    return a.u * b.v - a.v * b.u;
}
double norm(V a) {
    return std::hypot(a.u, a.v);
}
V unit(V a) {
    const double n = norm(a);
    return n > 0 ? V{a.u / n, a.v / n} : V{0, 0};
}
V left_of(V d) {
    return {-d.v, d.u};
}

double radius_of(const OutlinePiece& arc) {
    return norm(vec(arc.a) - vec(arc.centre));
}

// Turning angle from `from` to `to` about `c` in the arc's direction, in [0, 2 pi).
double turned(CyclePoint from, CyclePoint to, CyclePoint c, bool ccw) {
    const V f = vec(from) - vec(c), t = vec(to) - vec(c);
    double a = std::atan2(cross(f, t), dot(f, t));
    if (!ccw) a = -a;
    return a < 0 ? a + kTwoPi : a;
}

// Direction of travel at the start (at_end false) or the end of a piece.
V tangent(const OutlinePiece& p, bool at_end) {
    if (!p.arc) return unit(vec(p.b) - vec(p.a));
    const V r = vec(at_end ? p.b : p.a) - vec(p.centre);
    const V t = unit(left_of(r));
    return p.ccw ? t : -1.0 * t;
}

// Where along the piece q lies: for a line the fraction of its length, for
// an arc the fraction of its sweep; below 0 before its start. Points on an
// arc's unswept part count as before the start or after the end, whichever
// is nearer.
double position_on(const OutlinePiece& p, CyclePoint q) {
    if (!p.arc) {
        const V d = vec(p.b) - vec(p.a);
        const double len2 = dot(d, d);
        return len2 > 0 ? dot(vec(q) - vec(p.a), d) / len2 : 0;
    }
    const double sweep = turned(p.a, p.b, p.centre, p.ccw);
    if (sweep <= 0) return 0;
    const double t = turned(p.a, q, p.centre, p.ccw);
    if (t <= sweep) return t / sweep;
    return (t - sweep) < (kTwoPi - t) ? t / sweep : -(kTwoPi - t) / sweep;
}

// Points where the full line or circle of `a` meets that of `b`.
std::vector<V> meetings(const OutlinePiece& a, const OutlinePiece& b) {
    std::vector<V> out;
    if (!a.arc && !b.arc) {
        const V p = vec(a.a), r = vec(a.b) - p, q = vec(b.a), s = vec(b.b) - q;
        const double den = cross(r, s);
        if (std::fabs(den) < 1e-15 * std::max(1.0, dot(r, r) * dot(s, s))) return out;
        out.push_back(p + (cross(q - p, s) / den) * r);
        return out;
    }
    if (a.arc && b.arc) {
        const V c0 = vec(a.centre), c1 = vec(b.centre);
        const double r0 = radius_of(a), r1 = radius_of(b);
        const V d = c1 - c0;
        const double dist = norm(d);
        if (dist <= 0) return out;
        const double along = (dist * dist + r0 * r0 - r1 * r1) / (2 * dist);
        const double h2 = r0 * r0 - along * along;
        if (h2 < -1e-12 * r0 * r0) return out;
        const double h = std::sqrt(std::max(h2, 0.0));
        const V e = (1.0 / dist) * d;
        const V m = c0 + along * e;
        out.push_back(m + h * left_of(e));
        out.push_back(m - h * left_of(e));
        return out;
    }
    const OutlinePiece& line = a.arc ? b : a;
    const OutlinePiece& arc = a.arc ? a : b;
    const V p = vec(line.a), d = unit(vec(line.b) - vec(line.a)), c = vec(arc.centre);
    const double r = radius_of(arc);
    const double t0 = dot(c - p, d);
    const V foot = p + t0 * d;
    const double off = norm(c - foot);
    if (off > r * (1 + 1e-12)) return out;
    const double h = std::sqrt(std::max(r * r - off * off, 0.0));
    out.push_back(foot + h * d);
    out.push_back(foot - h * d);
    return out;
}

// An offset piece, the profile piece it follows and the profile points it
// runs between.
struct Box {
    double lo_u, hi_u, lo_v, hi_v;
    bool meets(const Box& o) const {
        return lo_u <= o.hi_u && o.lo_u <= hi_u && lo_v <= o.hi_v && o.lo_v <= hi_v;
    }
};

// A box round the piece (an arc's whole circle), grown by `margin`.
Box box_of(const OutlinePiece& p, double margin) {
    if (p.arc) {
        const double r = radius_of(p) + margin;
        return {p.centre.Z - r, p.centre.Z + r, p.centre.X - r, p.centre.X + r};
    }
    return {std::min(p.a.Z, p.b.Z) - margin, std::max(p.a.Z, p.b.Z) + margin,
            std::min(p.a.X, p.b.X) - margin, std::max(p.a.X, p.b.X) + margin};
}

struct Item {
    OutlinePiece piece;
    std::size_t source = 0;
    CyclePoint from;
    CyclePoint to;
    // The piece is its source's own offset (or, for an arc too tight, its
    // chord's), so it keeps the distance from the source by construction.
    bool own = false;
};

class Offsetter {
public:
    Offsetter(const std::vector<OutlinePiece>& profile, double distance, OffsetSide side,
              double tolerance)
        : profile_(profile), d_(distance), left_(side == OffsetSide::Left), tol_(tolerance) {
        FileBoxes();
    }

    OffsetPath Run();

private:
    std::optional<OutlinePiece> Shifted(const OutlinePiece& p);
    void Join(Item next, bool bridging = false);
    void Pass();
    // The source of the first offset piece that comes nearer the profile
    // than the distance, or none.
    std::optional<std::size_t> Gouging() const;
    bool Concave(const OutlinePiece& prev, const OutlinePiece& next) const;
    void PassedOver(std::size_t source) {
        const OutlinePiece& p = profile_[source];
        if (std::find(reported_.begin(), reported_.end(), &p) != reported_.end()) return;
        reported_.push_back(&p);
        path_.uncut.push_back({point_along(p, 0.5), p.arc ? radius_of(p) : 0});
    }

    const std::vector<OutlinePiece>& profile_;
    double d_;
    bool left_;
    double tol_;
    std::vector<Item> out_;
    OffsetPath path_;
    std::vector<const OutlinePiece*> reported_;
    std::vector<bool> excluded_;
    // The profile's pieces' boxes, and the pieces filed in equal columns
    // along Z, so that a piece is held only against its neighbours.
    void FileBoxes();
    std::size_t Column(double u) const;
    std::vector<Box> boxes_;
    std::vector<std::vector<std::size_t>> columns_;
    double column_lo_ = 0;
    double column_width_ = 1;
};

void Offsetter::FileBoxes() {
    if (profile_.empty()) return;
    double lo = 1e300, hi = -1e300;
    for (const OutlinePiece& p : profile_) {
        boxes_.push_back(box_of(p, 0));
        lo = std::min(lo, boxes_.back().lo_u);
        hi = std::max(hi, boxes_.back().hi_u);
    }
    columns_.resize(profile_.size());
    column_lo_ = lo;
    column_width_ = std::max((hi - lo) / static_cast<double>(columns_.size()), 1e-12);
    for (std::size_t k = 0; k < boxes_.size(); ++k)
        for (std::size_t c = Column(boxes_[k].lo_u); c <= Column(boxes_[k].hi_u); ++c)
            columns_[c].push_back(k);
}

std::size_t Offsetter::Column(double u) const {
    const double c = std::floor((u - column_lo_) / column_width_);
    const double last = static_cast<double>(columns_.size() - 1);
    return static_cast<std::size_t>(std::clamp(c, 0.0, last));
}

std::optional<OutlinePiece> Offsetter::Shifted(const OutlinePiece& p) {
    if (length_of(p) < tol_) return std::nullopt;
    if (!p.arc) {
        const V n = (left_ ? 1.0 : -1.0) * left_of(unit(vec(p.b) - vec(p.a)));
        return outline_line(point(vec(p.a) + d_ * n), point(vec(p.b) + d_ * n));
    }
    const double r = radius_of(p);
    // The left of a counter-clockwise arc faces its centre.
    const bool towards_centre = p.ccw == left_;
    const double shifted = towards_centre ? r - d_ : r + d_;
    if (shifted <= tol_) {
        // An arc the round just fits goes to a point: the neighbours' offsets
        // meet there. A tighter one cannot be reached: the round follows its
        // chord instead, which lies outside it.
        if (r >= d_ - tol_) return std::nullopt;
        path_.uncut.push_back({point_along(p, 0.5), r});
        reported_.push_back(&p);
        return Shifted(outline_line(p.a, p.b));
    }
    const V c = vec(p.centre);
    const double k = shifted / r;
    return outline_arc(point(c + k * (vec(p.a) - c)), point(c + k * (vec(p.b) - c)), p.centre,
                       p.ccw);
}

bool Offsetter::Concave(const OutlinePiece& prev, const OutlinePiece& next) const {
    const double turn = cross(tangent(prev, true), tangent(next, false));
    return left_ ? turn > 0 : turn < 0;
}

void Offsetter::Join(Item next, bool bridging) {
    while (true) {
        if (out_.empty()) {
            out_.push_back(next);
            return;
        }
        Item& prev = out_.back();
        const OutlinePiece& a = prev.piece;
        OutlinePiece& b = next.piece;
        if (norm(vec(a.b) - vec(b.a)) < tol_) {
            b.a = a.b;
            out_.push_back(next);
            return;
        }
        if (!Concave(a, b)) {
            if (norm(vec(prev.to) - vec(next.from)) < tol_) {
                // Round the corner about the profile's own corner point.
                const CyclePoint corner = next.from;
                const auto on_round = [&](CyclePoint p) {
                    return std::fabs(norm(vec(p) - vec(corner)) - d_) < tol_;
                };
                if (on_round(a.b) && on_round(b.a))
                    out_.push_back(
                        {outline_arc(a.b, b.a, corner, !left_), next.source, corner, corner});
                else
                    out_.push_back({outline_line(a.b, b.a), next.source, corner, corner});
                out_.push_back(next);
                return;
            }
            // Pieces passed over lie between them: the round goes the straight
            // way from the one's end to the other's start, which lies outside them.
            if (!bridging) {
                if (const auto bridge = Shifted(outline_line(prev.to, next.from))) {
                    const CyclePoint from = prev.to;
                    Join({*bridge, next.source, from, next.from}, true);
                    Join(next, true);
                    return;
                }
            }
            out_.push_back({outline_line(a.b, b.a), next.source, prev.to, next.from});
            out_.push_back(next);
            return;
        }
        const V hint = 0.5 * (vec(a.b) + vec(b.a));
        std::optional<V> best;
        for (const V& q : meetings(a, b))
            if (!best || norm(q - hint) < norm(*best - hint)) best = q;
        if (!best) {
            // The offsets never meet: the round cannot get between them, nor
            // down to the previous piece.
            PassedOver(prev.source);
            out_.pop_back();
            continue;
        }
        const CyclePoint q = point(*best);
        const double on_prev = position_on(a, q);
        const double on_next = position_on(b, q);
        const double slack_a = tol_ / std::max(length_of(a), tol_);
        const double slack_b = tol_ / std::max(length_of(b), tol_);
        if (on_prev < -slack_a) {
            // The trim passes back over the whole previous piece; the path
            // starts where the round touches both, if it was the first.
            PassedOver(prev.source);
            out_.pop_back();
            if (out_.empty()) b.a = q;
            continue;
        }
        if (on_next > 1 + slack_b) {
            PassedOver(next.source);
            return;
        }
        prev.piece.b = q;
        b.a = q;
        if (length_of(prev.piece) < tol_ && out_.size() > 1) {
            const Item shrunk = out_.back();
            out_.pop_back();
            if (!out_.empty()) {
                // Keep the chain closed across the piece trimmed to nothing.
                out_.back().piece.b = shrunk.piece.b;
            }
        }
        out_.push_back(next);
        return;
    }
}

void Offsetter::Pass() {
    out_.clear();
    path_.uncut.clear();
    reported_.clear();
    for (std::size_t i = 0; i < profile_.size(); ++i) {
        if (excluded_[i]) {
            PassedOver(i);
            continue;
        }
        const std::optional<OutlinePiece> shifted = Shifted(profile_[i]);
        if (shifted) Join({*shifted, i, profile_[i].a, profile_[i].b, true});
    }
}

std::optional<std::size_t> Offsetter::Gouging() const {
    if (columns_.empty()) return std::nullopt;
    const double least = d_ - 5 * tol_;
    // Stepping by the clearance finds any gouge deeper than the least step.
    const double min_step = std::max(d_ / 50, tol_);
    std::vector<std::size_t> seen(profile_.size(), out_.size());
    for (std::size_t i = 0; i < out_.size(); ++i) {
        const OutlinePiece& p = out_[i].piece;
        const Box near = box_of(p, d_);
        const double len = length_of(p);
        for (std::size_t c = Column(near.lo_u); c <= Column(near.hi_u); ++c) {
            for (const std::size_t k : columns_[c]) {
                if (seen[k] == i || !near.meets(boxes_[k])) continue;
                if (out_[i].own && k == out_[i].source) continue;
                seen[k] = i;
                for (double s = 0;;) {
                    const double clearance = distance_to(
                        point_along(p, len > 0 ? std::min(s / len, 1.0) : 0.0), profile_[k]);
                    if (clearance < least) return out_[i].source;
                    if (s >= len) break;
                    s = std::min(len, s + std::max(clearance - least, min_step));
                }
            }
        }
    }
    return std::nullopt;
}

OffsetPath Offsetter::Run() {
    excluded_.assign(profile_.size(), false);
    // A piece whose offset the local joins could not keep clear of the rest
    // is passed over, and the joins are made again without it.
    for (std::size_t round = 0; round <= profile_.size(); ++round) {
        Pass();
        const std::optional<std::size_t> gouging = Gouging();
        if (!gouging || excluded_[*gouging]) break;
        excluded_[*gouging] = true;
    }
    for (const Item& item : out_) {
        if (length_of(item.piece) < tol_ && out_.size() > 1) continue;
        path_.pieces.push_back(item.piece);
        path_.source.push_back(item.source);
    }
    return std::move(path_);
}

} // namespace

OffsetPath offset_profile(const std::vector<OutlinePiece>& profile, double distance,
                          OffsetSide side, double tolerance) {
    return Offsetter(profile, distance, side, tolerance).Run();
}

OffsetSide tool_side(const std::vector<OutlinePiece>& profile, bool x_high, bool z_high) {
    const V towards{z_high ? 1.0 : -1.0, x_high ? 1.0 : -1.0};
    double score = 0;
    for (const OutlinePiece& p : profile) {
        const V chord = vec(p.b) - vec(p.a);
        score += dot(left_of(chord), towards);
    }
    return score >= 0 ? OffsetSide::Left : OffsetSide::Right;
}

int implied_orientation(bool x_high, bool z_high) {
    if (x_high) return z_high ? 2 : 1;
    return z_high ? 3 : 4;
}

CyclePoint tip_direction(int orientation, bool x_high, bool z_high) {
    // {X, Z} per orientation; 9 is the round's centre itself.
    static constexpr CyclePoint kTips[] = {{0, 0}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1},
                                           {0, 1}, {-1, 0}, {0, -1},  {1, 0},  {0, 0}};
    if (orientation < 1 || orientation > 9) orientation = implied_orientation(x_high, z_high);
    return kTips[orientation];
}

} // namespace zeran
