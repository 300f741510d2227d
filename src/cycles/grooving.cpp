// Grooving (code 75): walk each profile segment in Z and plunge in X at every
// tool position, pecking when the plunge is deep.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "cycles/can_cycle.h"
#include "cycles/generators.h"
#include "cycles/profile_geometry.h"

namespace zeran {

namespace {

double signed_add(bool flag, double a, double b) {
    return flag ? b + a : b - a;
}

struct GrooveSetup {
    CyclePoint start;     // S
    CyclePoint allowance; // A
    double level = 0;     // the start level S.X + A.X the tool returns to
    double width = 0;     // f, the width the tool covers
    double step = 0;      // the advance between plunges after the first
    double eps = 0;       // unit tolerance
};

// X at z on the segment from m to w (offset already applied), as the line and
// arc interpolations of the roughing cycles do.
double bottom_on_segment(const TCanCycle& c, const TCNC_Groups& rec, CyclePoint m, CyclePoint w,
                         CyclePoint a, double z) {
    if (rec.IsArc()) {
        double cx = rec.CentreX() + a.X;
        double cz = rec.CentreZ() + a.Z;
        double r = rec.Radius();
        double g = std::sqrt(std::fabs(r * r - (z - cz) * (z - cz)));
        bool minus = (rec.Motion() == kMotionClockwise && c.ZSide) ||
                     (rec.Motion() == kMotionCounterClockwise && !c.ZSide);
        return minus ? cx - g : cx + g;
    }
    if (m.X == w.X || m.Z == w.Z) return c.XSide ? m.X : w.X;
    return m.X + (w.X - m.X) * (z - m.Z) / (w.Z - m.Z);
}

// The profile's X nearest the tool side under the insert when its minus-Z
// edge is at z, walls it merely touches left out; nothing when the insert
// spans no profile. A plunge to the segment's X at z alone would let the
// rest of the insert cut a sloping flank or a neighbouring wall.
std::optional<double> highest_under_insert(const TCanCycle& c, const GrooveSetup& g, double z) {
    const double lo = z + g.eps, hi = z + g.width - g.eps;
    if (lo > hi) return std::nullopt;
    std::optional<double> best;
    auto take = [&](double x) {
        if (!best || (c.XSide ? x > *best : x < *best)) best = x;
    };
    const auto& moves = c.ProfileMoves;
    for (std::size_t i = 1; i < moves.size(); ++i) {
        const CyclePoint a{moves[i - 1]->X() + g.allowance.X, moves[i - 1]->Z() + g.allowance.Z};
        const CyclePoint b{moves[i]->X() + g.allowance.X, moves[i]->Z() + g.allowance.Z};
        const TCNC_Groups& rec = *moves[i];
        if (!rec.IsArc()) {
            const double z0 = std::max(lo, std::min(a.Z, b.Z));
            const double z1 = std::min(hi, std::max(a.Z, b.Z));
            if (z0 > z1) continue;
            if (a.Z == b.Z) {
                take(a.X);
                take(b.X);
                continue;
            }
            for (double zz : {z0, z1}) take(a.X + (b.X - a.X) * (zz - a.Z) / (b.Z - a.Z));
            continue;
        }
        const CyclePoint centre{rec.CentreX() + g.allowance.X, rec.CentreZ() + g.allowance.Z};
        const double r = rec.Radius();
        if (centre.Z + r < lo || centre.Z - r > hi) continue; // long profiles: skip cheaply
        const bool clockwise = rec.Motion() == kMotionClockwise;
        const double sweep = ArcSweep(a, b, centre, clockwise) * std::numbers::pi / 180.0;
        const double from = Bearing(centre, a);
        const int n = std::max(8, static_cast<int>(std::ceil(sweep * 180.0 / std::numbers::pi)));
        for (int k = 0; k <= n; ++k) {
            const double t = from + (clockwise ? -1.0 : 1.0) * sweep * k / n;
            const CyclePoint p =
                k == n ? b : CyclePoint{centre.X + r * std::sin(t), centre.Z + r * std::cos(t)};
            if (p.Z >= lo && p.Z <= hi) take(p.X);
        }
        // The samples miss the span's own ends, where a steep arc is highest.
        for (double zz : {lo, hi}) {
            const double dz = zz - centre.Z;
            if (std::fabs(dz) > r) continue;
            const double h = std::sqrt(r * r - dz * dz);
            for (double x : {centre.X - h, centre.X + h}) {
                const CyclePoint p{x, zz};
                double along = clockwise ? from - Bearing(centre, p) : Bearing(centre, p) - from;
                along = NormaliseAngle(std::fmod(along, 2 * std::numbers::pi));
                if (along <= sweep + 1e-12) take(x);
            }
        }
    }
    return best;
}

// An upper bound of the moves the cycle would make, so that an absurd step
// fails before millions of records are made.
double estimated_moves(const TCanCycle& c, const GrooveSetup& g) {
    double deepest = 0;
    for (const TCNC_Groups* r : c.ProfileMoves) {
        double reach = std::fabs(g.start.X - (r->X() + g.allowance.X));
        if (r->IsArc()) reach += 2 * std::fabs(r->Radius());
        deepest = std::max(deepest, reach);
    }
    double per_plunge = 2.0 * (deepest / c.Params.DepthCutX + 1.0) + 3.0;
    double plunges = 0;
    for (std::size_t i = 1; i < c.ProfileMoves.size(); ++i)
        plunges += std::fabs(c.ProfileMoves[i]->Z() - c.ProfileMoves[i - 1]->Z()) / g.step + 3.0;
    return plunges * per_plunge + 5.0;
}

class Plunger {
public:
    Plunger(TCanCycle& c, const GrooveSetup& g) : c_(c), g_(g) {}

    // Plunges at t.Z from the start level down to the bottom; pecks when deep.
    bool plunge(CyclePoint& t, const TCNC_Groups& rec, const TCNC_Groups& p0, CyclePoint m,
                CyclePoint w) {
        t.X = g_.level;
        if (!c_.AddMove(kMotionRapid, t, {}, &p0, 0)) return false;
        bool beyond = c_.ZSide ? t.Z > m.Z : t.Z < m.Z;
        t.X = beyond ? m.X : bottom_on_segment(c_, rec, m, w, g_.allowance, t.Z);
        if (auto limit = highest_under_insert(c_, g_, t.Z)) {
            if (c_.XSide ? *limit > t.X : *limit < t.X) t.X = *limit;
        }
        const double depth_cut = c_.Params.DepthCutX;
        const double sx = g_.start.X;
        bool deep = c_.XSide ? sx - t.X > depth_cut : t.X - sx > depth_cut;
        if (deep) {
            double v = sx;
            while (v != t.X) {
                double next = signed_add(!c_.XSide, depth_cut, v);
                if (next == v) return c_.Fail("The peck depth in X is too small for the part.");
                v = next;
                bool short_of_bottom = c_.XSide ? v > t.X : v < t.X;
                if (short_of_bottom) {
                    if (!c_.AddMove(kMotionLinear, {v, t.Z}, {}, &rec, c_.Params.Feed))
                        return false;
                    CyclePoint back{signed_add(c_.XSide, c_.Params.PeckReturnX, v), t.Z};
                    if (!c_.AddMove(kMotionLinear, back, {}, &rec, c_.Params.Feed)) return false;
                } else {
                    v = t.X;
                }
            }
        }
        return c_.AddMove(kMotionLinear, t, {}, &rec, c_.Params.Feed);
    }

private:
    TCanCycle& c_;
    const GrooveSetup& g_;
};

} // namespace

bool generate_grooving(TCanCycle& c) {
    const auto& moves = c.ProfileMoves;
    if (moves.empty()) return c.Fail("The grooving profile is empty.");
    const TCycleParams& p = c.Params;
    if (!(p.DepthCutX > 0) || !(p.DepthCutZ > 0) || !std::isfinite(p.DepthCutX) ||
        !std::isfinite(p.DepthCutZ) || !std::isfinite(p.PeckReturnX) || !std::isfinite(c.ToolWidth))
        return c.Fail("The grooving depths of cut must be positive numbers.");

    GrooveSetup g;
    g.start = c.StartPoint;
    g.allowance = c.Allowance;
    g.level = g.start.X + g.allowance.X;
    // The insert covers f from its minus-Z edge; stepping further than the
    // insert would leave ribs, so the step never exceeds it.
    g.width = c.ToolWidth > 0 ? c.ToolWidth : p.DepthCutZ;
    g.step = std::min(p.DepthCutZ, g.width);
    g.eps = c.UnitTolerance();
    if (!std::isfinite(g.level) || !std::isfinite(g.start.Z + g.allowance.Z))
        return c.Fail("The grooving start point is not a finite point.");
    // Written so that a profile point that is not finite fails here too.
    if (!(estimated_moves(c, g) <= static_cast<double>(kMaxMovesPerCycle)))
        return c.Fail("The grooving cycle would need more than " +
                      std::to_string(kMaxMovesPerCycle) +
                      " moves; check the depths of cut and the profile.");

    const TCNC_Groups& p0 = *moves.front();
    const double feed = p.Feed;
    CyclePoint t{g.start.X + g.allowance.X, g.start.Z + g.allowance.Z};
    if (!c.AddMove(kMotionRapid, g.start, {}, &p0, feed)) return false;
    if (!c.AddMove(kMotionRapid, t, {}, &p0, feed)) return false;
    double z_last = g.start.Z + g.allowance.Z;

    Plunger plunger(c, g);
    for (std::size_t i = 1; i < moves.size(); ++i) {
        const TCNC_Groups& rec = *moves[i];
        CyclePoint m{moves[i - 1]->X() + g.allowance.X, moves[i - 1]->Z() + g.allowance.Z};
        CyclePoint w{rec.X() + g.allowance.X, rec.Z() + g.allowance.Z};
        t.Z = c.ZSide ? m.Z - g.width : m.Z;
        bool final_made = false;
        if (c.PointsCoincide(m, w)) continue;

        // Passed: the insert would reach over the wall where the segment ends.
        auto passed = [&] { return c.ZSide ? t.Z < w.Z - g.eps : t.Z + g.width > w.Z + g.eps; };
        int state = 1;
        bool segment_done = false;
        while (!segment_done && !passed()) {
            switch (state) {
            case 1:
                if (!plunger.plunge(t, rec, p0, m, w)) return false;
                state = 2;
                break;
            case 2:
                t.X = g.level;
                if (!c.AddMove(kMotionRapid, t, {}, &rec, feed)) return false;
                state = 3;
                break;
            case 3: {
                double advance = t.Z == m.Z ? g.width : g.step;
                double next = signed_add(!c.ZSide, advance, t.Z);
                if (next == t.Z) return c.Fail("The grooving step in Z is too small for the part.");
                t.Z = next;
                bool short_of_end = c.ZSide ? t.Z > w.Z + g.eps : t.Z < w.Z - g.width - g.eps;
                if (short_of_end) {
                    state = 1;
                } else if (!final_made) {
                    t.Z = c.ZSide ? w.Z : w.Z - g.width;
                    final_made = true;
                    z_last = t.Z;
                    state = 1;
                } else {
                    segment_done = true;
                }
                break;
            }
            default:
                segment_done = true;
                break;
            }
        }
    }

    if (!c.AddMove(kMotionRapid, {g.level, z_last}, {}, &p0, feed)) return false;
    if (!c.AddMove(kMotionRapid, {g.level, g.start.Z + g.allowance.Z}, {}, &p0, feed)) return false;
    if (!c.AddMove(kMotionRapid, g.start, {}, &p0, feed)) return false;
    return !c.Failed();
}

} // namespace zeran
