#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/profile_geometry.h"

#include <cmath>

namespace zeran {

namespace {

// -1 when the flag is true: with the tool on the maximum side, away from it
// is towards smaller values.
double sign_of(bool flag) {
    return flag ? -1.0 : 1.0;
}

CyclePoint minus(CyclePoint a, CyclePoint b) {
    return {a.X - b.X, a.Z - b.Z};
}

} // namespace

bool TCanCycle::BulgesTowardTool(CyclePoint s, CyclePoint e, const TCNC_Groups& arc) const {
    const double tol = PointTolerance();
    const CyclePoint c = record_centre(arc);
    const auto perp = [this](CyclePoint v, bool f) {
        return f == XSide ? CyclePoint{-v.Z, v.X} : CyclePoint{v.Z, -v.X};
    };
    const auto test = [&](CyclePoint s1, CyclePoint e1, double sweep) {
        const CyclePoint r1 = Direction(c, s1, tol);
        const CyclePoint r2 = Direction(c, e1, tol);
        const CyclePoint t1 = perp(r1, ZSide);
        const CyclePoint t2 = perp(r2, !ZSide);
        const CyclePoint b = Unit({r1.X + r2.X, r1.Z + r2.Z});
        CyclePoint n = Unit({t1.X + t2.X, t1.Z + t2.Z});
        if (sweep > 180) n = {-n.X, -n.Z};
        return PointsCoincide(b, n);
    };
    const double sweep = arc.Sweep();
    if (std::fabs(sweep - 180) <= 0.1) {
        // A half circle has no bisector to speak of: test a slightly shorter arc.
        const CyclePoint r1 = Direction(c, s, tol);
        const CyclePoint r2 = Direction(c, e, tol);
        const CyclePoint t1 = perp(r1, ZSide);
        const CyclePoint t2 = perp(r2, !ZSide);
        const double step = arc.Radius() * std::asin(3.14159265358979323846 / 36);
        const CyclePoint s1{s.X + t1.X * step, s.Z + t1.Z * step};
        const CyclePoint e1{e.X + t2.X * step, e.Z + t2.Z * step};
        return test(s1, e1, ArcSweep(s1, e1, c, arc.Motion() == kMotionClockwise));
    }
    return test(s, e, sweep);
}

void TCanCycle::TrimArcs(std::vector<TCNC_Groups*>& list) {
    if (list.empty()) return;
    const double diag = Extents.Diagonal();
    const double tol = PointTolerance();
    const bool roughing =
        CycleCode == kCodeAlongX || CycleCode == kCodeAlongZ || CycleCode == kCodePatternRepeat;
    std::vector<TCNC_Groups*> copies;
    copies.reserve(list.size());
    for (const TCNC_Groups* r : list) copies.push_back(NewRecord(*r));
    list.clear();
    list.push_back(copies.front());

    const auto linear = [&](CyclePoint from, CyclePoint to) {
        TCNC_Groups* r = NewRecord();
        SetRecord(*r, from, kMotionLinear, to);
        list.push_back(r);
    };

    for (std::size_t idx = 1; idx < copies.size(); ++idx) {
        TCNC_Groups* cur = copies[idx];
        const TCNC_Groups* prev = list.back();
        if (!cur->IsArc()) {
            list.push_back(cur);
            continue;
        }
        const CyclePoint s = record_point(*prev);
        const CyclePoint e = record_point(*cur);
        const int motion = cur->Motion();
        SetRecord(*cur, s, motion, e);
        const CyclePoint c = record_centre(*cur);
        const double radius = cur->Radius();
        const CyclePoint rs = minus(s, c);
        const CyclePoint re = minus(e, c);

        if (BulgesTowardTool(s, e, *cur)) {
            const bool through_centre =
                (re.Z > 0) == ZSide &&
                (((re.X > 0) == XSide && (rs.Z < 0) == ZSide && (rs.X < 0) == XSide) ||
                 ((re.X < 0) == XSide && (rs.Z > 0) == ZSide && (rs.X > 0) == XSide));
            if (through_centre) {
                linear(s, c);
                linear(c, e);
                continue;
            }
            CyclePoint p1 =
                LineArcIntersection({s.X, s.Z - sign_of(ZSide) * diag},
                                    {s.X, s.Z + sign_of(ZSide) * diag}, *cur, *prev, tol);
            const CyclePoint p2 =
                LineArcIntersection(e, {e.X + sign_of(XSide) * diag, e.Z}, *cur, *prev, tol);
            // A cove whose ends share an X: the Z line through its start meets
            // the circle only at its end. Bridging it straight keeps the
            // offset copies of the roughing passes out of the corner.
            if (roughing && is_not_found(p1) && std::fabs(e.X - s.X) < tol) p1 = e;
            if (!is_not_found(p1) && !is_not_found(p2)) {
                const CyclePoint q = SegmentIntersection(s, p1, e, p2);
                if (!is_not_found(q)) {
                    linear(s, q);
                    linear(q, e);
                    continue;
                }
            }
            TCNC_Groups* m = NewRecord(*cur);
            CyclePoint m_start = s;
            if (!is_not_found(p1)) {
                linear(s, p1);
                SetRecord(*m, p1, motion, e);
                m_start = p1;
            }
            list.push_back(m);
            if (!is_not_found(p2)) {
                SetRecord(*m, m_start, motion, p2);
                linear(p2, e);
            }
            continue;
        }

        TCNC_Groups* m = NewRecord(*cur);
        CyclePoint s1 = s;
        if ((rs.X < 0) == XSide || rs.X == 0) {
            const bool end_on_tool_side =
                ((re.X < 0) == XSide || re.X == 0) && ((re.Z > 0) == ZSide || re.Z == 0);
            const CyclePoint t =
                end_on_tool_side ? e : CyclePoint{c.X, c.Z - sign_of(ZSide) * radius};
            linear(s, {s.X, t.Z});
            linear({s.X, t.Z}, t);
            SetRecord(*m, t, motion, e);
            s1 = t;
        }
        list.push_back(m);
        if ((re.Z < 0) == ZSide || re.Z == 0) {
            const bool start_on_tool_side =
                ((rs.X > 0) == XSide || rs.X == 0) && ((rs.Z < 0) == ZSide || rs.Z == 0);
            const CyclePoint u =
                start_on_tool_side ? s1 : CyclePoint{c.X - sign_of(XSide) * radius, c.Z};
            SetRecord(*m, s1, motion, u);
            linear(u, {u.X, e.Z});
            linear({u.X, e.Z}, e);
        }
    }
}

} // namespace zeran
