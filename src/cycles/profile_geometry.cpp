#include "cycles/profile_geometry.h"

#include <cmath>
#include <numbers>

namespace zeran {

CyclePoint Unit(CyclePoint v) {
    const double len = std::sqrt(v.X * v.X + v.Z * v.Z);
    if (len == 0) return {0, 0};
    return {v.X / len, v.Z / len};
}

CyclePoint Direction(CyclePoint p, CyclePoint q, double tolerance) {
    double dx = q.X - p.X;
    double dz = q.Z - p.Z;
    if (std::fabs(dx) < tolerance) dx = 0;
    if (std::fabs(dz) < tolerance) dz = 0;
    return Unit({dx, dz});
}

double Bearing(CyclePoint p, CyclePoint q) {
    const double dx = q.X - p.X;
    const double dz = q.Z - p.Z;
    if (dz == 0) {
        if (dx == 0) return 0;
        return dx > 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
    }
    if (dx == 0) return dz < 0 ? std::numbers::pi : 0;
    return std::atan2(dx, dz);
}

double NormaliseAngle(double radians) {
    return radians < 0 ? radians + 2 * std::numbers::pi : radians;
}

double ArcSweep(CyclePoint from, CyclePoint to, CyclePoint centre, bool clockwise) {
    const double a = NormaliseAngle(Bearing(to, centre));
    const double b = NormaliseAngle(Bearing(from, centre));
    double sweep = NormaliseAngle(clockwise ? b - a : a - b);
    if (sweep >= 2 * std::numbers::pi) sweep = 0;
    return sweep * 180 / std::numbers::pi;
}

void SetRecord(TCNC_Groups& record, CyclePoint from, int motion, CyclePoint to) {
    record.SetGroup(kGroupMotion, motion);
    record.SetWord(kWordX, to.X);
    record.SetWord(kWordZ, to.Z);
    if (motion == kMotionClockwise || motion == kMotionCounterClockwise) {
        const CyclePoint c = record_centre(record);
        record.WordSet[kWordCentreX] = to.X != c.X;
        record.WordSet[kWordCentreZ] = to.Z != c.Z;
        record.SetWord(kWordSweep, ArcSweep(from, to, c, motion == kMotionClockwise));
    }
}

CyclePoint SegmentIntersection(CyclePoint a, CyclePoint b, CyclePoint d, CyclePoint c) {
    const double den = (b.X - a.X) * (c.Z - d.Z) - (b.Z - a.Z) * (c.X - d.X);
    if (den == 0) return kPointNotFound;
    const double ua = ((a.Z - d.Z) * (c.X - d.X) - (a.X - d.X) * (c.Z - d.Z)) / den;
    const double ub = ((a.Z - d.Z) * (b.X - a.X) - (a.X - d.X) * (b.Z - a.Z)) / den;
    if (!(ua > 0 && ua <= 1 && ub > 0 && ub <= 1)) return kPointNotFound;
    return {a.X + ua * (b.X - a.X), a.Z + ua * (b.Z - a.Z)};
}

bool PointInsideArc(CyclePoint p, CyclePoint s, CyclePoint e, CyclePoint centre, bool clockwise,
                    double tolerance) {
    const double a = NormaliseAngle(Bearing(e, centre));
    const double b = NormaliseAngle(Bearing(s, centre));
    const double c = NormaliseAngle(Bearing(p, centre));
    const double d = NormaliseAngle(clockwise ? b - a : a - b);
    const double pos = NormaliseAngle(clockwise ? c - a : c - b);
    return pos >= 0 && std::fabs(pos) >= tolerance && pos <= d && std::fabs(pos - d) >= tolerance;
}

CyclePoint LineArcIntersection(CyclePoint a, CyclePoint b, const TCNC_Groups& arc,
                               const TCNC_Groups& previous, double tolerance) {
    const CyclePoint c = record_centre(arc);
    const double r = arc.Radius();
    const CyclePoint u = Unit({b.X - a.X, b.Z - a.Z});
    const CyclePoint p1{c.X + 2 * r * u.Z, c.Z - 2 * r * u.X};
    const CyclePoint p2{c.X - 2 * r * u.Z, c.Z + 2 * r * u.X};
    const CyclePoint foot = SegmentIntersection(a, b, p1, p2);
    if (is_not_found(foot)) return kPointNotFound;
    const double g = (foot.X - c.X) * (foot.X - c.X) + (foot.Z - c.Z) * (foot.Z - c.Z);
    const double h = r * r - g > 0 ? std::sqrt(r * r - g) : 0;
    const CyclePoint s = record_point(previous);
    const CyclePoint e = record_point(arc);
    const bool cw = arc.Motion() == kMotionClockwise;
    for (double sign : {1.0, -1.0}) {
        const CyclePoint cand{foot.X + sign * h * u.X, foot.Z + sign * h * u.Z};
        if (PointInsideArc(cand, s, e, c, cw, tolerance)) return cand;
    }
    return kPointNotFound;
}

} // namespace zeran
