// Drilling (code 74): a hole on the spindle axis, drilled in pecks along Z
// down to the Z of the profile's last point.
#include <cmath>
#include <string>

#include "cycles/can_cycle.h"
#include "cycles/generators.h"

namespace zeran {

bool generate_drilling(TCanCycle& c) {
    if (c.ProfileMoves.empty()) return c.Fail("The drilling profile is empty.");
    const TCycleParams& p = c.Params;
    const TCNC_Groups& first = *c.ProfileMoves.front();
    const TCNC_Groups& last = *c.ProfileMoves.back();
    const CyclePoint s = c.StartPoint;
    const double b = last.Z();
    if (!std::isfinite(b) || !std::isfinite(s.X) || !std::isfinite(s.Z) ||
        !std::isfinite(p.PeckReturnZ))
        return c.Fail("The drilling depth or start point is not a finite number.");
    if (!(p.DepthCutZ > 0) || !std::isfinite(p.DepthCutZ))
        return c.Fail("The pecking depth must be a positive number.");
    // Two moves per peck; refuse before making millions of records.
    if (std::fabs(s.Z - b) / p.DepthCutZ * 2.0 + 6.0 > static_cast<double>(kMaxMovesPerCycle))
        return c.Fail("The drilling cycle would need more than " +
                      std::to_string(kMaxMovesPerCycle) + " moves; check the pecking depth.");

    const double feed = p.Feed;
    if (!c.AddMove(kMotionRapid, s, {}, &first, feed)) return false;
    c.ZSide = s.Z > b;
    CyclePoint d{0, s.Z};
    if (!c.AddMove(kMotionLinear, d, {}, &first, feed)) return false;
    while (d.Z != b) {
        double next = c.ZSide ? d.Z - p.DepthCutZ : d.Z + p.DepthCutZ;
        if (next == d.Z) return c.Fail("The pecking depth is too small for the hole.");
        d.Z = next;
        bool short_of_bottom = c.ZSide ? d.Z > b : d.Z < b;
        if (short_of_bottom) {
            if (!c.AddMove(kMotionLinear, d, {}, &last, feed)) return false;
            double back = c.ZSide ? d.Z + p.PeckReturnZ : d.Z - p.PeckReturnZ;
            if (!c.AddMove(kMotionLinear, {0, back}, {}, &last, feed)) return false;
        } else {
            d.Z = b;
        }
    }
    if (!c.AddMove(kMotionLinear, {0, b}, {}, &last, feed)) return false;
    if (!c.AddMove(kMotionLinear, {0, s.Z}, {}, &last, feed)) return false;
    if (!c.AddMove(kMotionRapid, s, {}, &last, feed)) return false;
    return !c.Failed();
}

} // namespace zeran
