#include "cycles/contour_pass.h"
#include "cycles/generators.h"

namespace zeran {

// Follows the whole profile Repeats times, each pass shifted towards the start
// side by an equal share of the total offset; the last lies at the allowance.
bool generate_pattern_repeat(TCanCycle& cycle) {
    if (cycle.ProfileMoves.empty()) return cycle.Fail("The profile is empty.");
    const TCycleParams& p = cycle.Params;
    const int n = p.Repeats;
    if (n < 1) return cycle.Fail("The number of repeats must be at least 1.");
    const double per_pass = static_cast<double>(cycle.ProfileMoves.size()) + 4;
    if (per_pass * n > static_cast<double>(kMaxMovesPerCycle))
        return cycle.Fail("Too many repeats: the tool path would exceed " +
                          std::to_string(kMaxMovesPerCycle) + " moves.");

    const TCNC_Groups* p0 = cycle.ProfileMoves.front();
    const TCNC_Groups* last = cycle.ProfileMoves.back();
    const CyclePoint s = cycle.StartPoint;
    const CyclePoint a = cycle.Allowance;
    const CyclePoint v{cycle.XSide ? 1.0 : -1.0, cycle.ZSide ? 1.0 : -1.0};
    const double c = p.DepthCutX * v.X / n;
    const double d = p.DepthCutZ * v.Z / n;

    cycle.AddMove(kMotionRapid, s, {0, 0}, p0, p.Feed);
    bool ok = true;
    for (int k = n - 1; k >= 0 && !cycle.Failed(); --k) {
        const CyclePoint o{k * c + a.X, k * d + a.Z};
        cycle.AddMove(kMotionRapid, {s.X + o.X, s.Z + o.Z}, o, p0, p.Feed);
        cycle.AddMove(kMotionRapid, {p0->X() + o.X, s.Z + o.Z}, o, p0, p.Feed);
        ok = ContourPass(cycle, o, cycle.ProfileMoves);
        cycle.AddMove(kMotionRapid, {s.X + o.X, last->Z() + o.Z}, o, last, p.Feed);
        cycle.AddMove(kMotionRapid, {s.X + o.X, s.Z + o.Z}, o, last, p.Feed);
    }
    cycle.AddMove(kMotionRapid, s, {0, 0}, last, p.Feed);
    return ok && !cycle.Failed();
}

} // namespace zeran
