#pragma once
// Plane geometry on profile records in cycle coordinates (X a radius, Z
// along the axis). Intersections that do not exist return kPointNotFound.
#include "cycles/cnc_groups.h"
#include "cycles/max_min.h"

namespace zeran {

inline CyclePoint record_point(const TCNC_Groups& r) {
    return {r.X(), r.Z()};
}
inline CyclePoint record_centre(const TCNC_Groups& r) {
    return {r.CentreX(), r.CentreZ()};
}

// Unit vector of q - p; differences within `tolerance` of zero count as zero.
CyclePoint Direction(CyclePoint p, CyclePoint q, double tolerance);
// Unit vector of v, or (0, 0) for a zero vector.
CyclePoint Unit(CyclePoint v);

// Angle of q - p in radians from +Z towards +X, in (-pi, pi].
double Bearing(CyclePoint p, CyclePoint q);
double NormaliseAngle(double radians); // adds 2 pi to a negative angle

// Sweep in degrees, in [0, 360), from `from` to `to` around `centre`.
double ArcSweep(CyclePoint from, CyclePoint to, CyclePoint centre, bool clockwise);

// Makes `record` a move of `motion` from `from` to `to`; an arc gets its sweep
// around its own centre recomputed.
void SetRecord(TCNC_Groups& record, CyclePoint from, int motion, CyclePoint to);

// Lines a -> b and d -> c; the start points a and d are excluded, the end
// points b and c included.
CyclePoint SegmentIntersection(CyclePoint a, CyclePoint b, CyclePoint d, CyclePoint c);

// p strictly inside the arc from s to e (its ends excluded within tolerance).
bool PointInsideArc(CyclePoint p, CyclePoint s, CyclePoint e, CyclePoint centre, bool clockwise,
                    double tolerance);

// The segment a -> b against the arc record that starts at `previous`.
CyclePoint LineArcIntersection(CyclePoint a, CyclePoint b, const TCNC_Groups& arc,
                               const TCNC_Groups& previous, double tolerance);

} // namespace zeran
