#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/profile_geometry.h"

#include <cmath>

namespace zeran {

namespace {

// The start point is on the maximum side when it is nearer the maximum, but
// never when it lies below every profile point.
bool on_maximum_side(double start, double min, double max) {
    if (start < min) return false;
    return std::fabs(start - max) <= std::fabs(start - min);
}

} // namespace

bool TCanCycle::OrientProfile(const TCNC_Groups& first, const TCNC_Groups& last) {
    ProfileChecked = true;
    const TMaxMin& ext_x = OffAxisExtents.Empty() ? Extents : OffAxisExtents;
    const double min_x = ext_x.MinX;
    const double max_x = ext_x.MaxX;
    ZSide = on_maximum_side(StartPoint.Z, Extents.MinZ, Extents.MaxZ);
    // Points on the axis are left out of the side test for a bore's bottom,
    // but not for a face turned to the centre at the end nearest the start:
    // without them a shaft whose start lies nearer its smallest diameter
    // than its largest would be bored.
    const double near_z = ZSide ? Extents.MaxZ : Extents.MinZ;
    bool faced_to_centre = false;
    for (const TCNC_Groups* rec : ProfileMoves) {
        const CyclePoint p = record_point(*rec);
        if (std::fabs(p.X) < PointTolerance() && std::fabs(p.Z - near_z) < PointTolerance())
            faced_to_centre = true;
    }
    XSide = on_maximum_side(StartPoint.X, faced_to_centre ? Extents.MinX : min_x, max_x);
    Allowance = {XSide ? Params.AllowanceX : -Params.AllowanceX,
                 ZSide ? Params.AllowanceZ : -Params.AllowanceZ};

    // A profile must run away from the start point in Z; one whose ends lie
    // at the same Z has no direction to refuse.
    const CyclePoint d = Direction(record_point(first), record_point(last), PointTolerance());
    const bool towards_start = (d.Z > 0 && ZSide) || (d.Z < 0 && !ZSide);
    if (towards_start && CycleCode != kCodeThreading && CycleCode != kCodeLinear &&
        CycleCode != kCodeDrilling && Elements.size() > 1) {
        Clear();
        if (OnProfileDirection) OnProfileDirection(*this);
        return false;
    }

    CyclePoint c{Params.DepthCutX, Params.DepthCutZ};
    CyclePoint r{StartPoint.X + Allowance.X, StartPoint.Z + Allowance.Z};
    if (CycleCode == kCodeDrilling) {
        c = {0, Params.DepthCutZ};
        r = {0, StartPoint.Z + Allowance.Z};
    }
    if ((max_x + c.X > r.X) == XSide) StartPoint.X = max_x + c.X - Allowance.X;
    if ((min_x - c.X > r.X) == XSide) StartPoint.X = min_x - c.X - Allowance.X;
    if ((Extents.MaxZ + c.Z > r.Z) == ZSide) StartPoint.Z = Extents.MaxZ + c.Z - Allowance.Z;
    if ((Extents.MinZ - c.Z > r.Z) == ZSide) StartPoint.Z = Extents.MinZ - c.Z - Allowance.Z;
    return true;
}

} // namespace zeran
