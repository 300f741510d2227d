#include "cycles/contour_pass.h"
#include "cycles/control_compensation.h"
#include "cycles/cycle_kinds.h"
#include "cycles/generators.h"
#include "cycles/profile_geometry.h"

namespace zeran {

bool ContourPass(TCanCycle& cycle, CyclePoint offset, const std::vector<TCNC_Groups*>& profile) {
    if (profile.empty()) return cycle.Fail("The profile is empty.");
    const TCNC_Groups* first = profile.front();
    const TCNC_Groups* last = profile.back();
    const CyclePoint s = cycle.StartPoint;
    const double feed = cycle.Params.Feed;
    const int code = cycle.CycleCode;
    const bool framed = code != kCodePatternRepeat;

    CyclePoint last_out{};
    if (framed) {
        if (code == kCodeFinishing) cycle.AddMove(kMotionRapid, s, offset, first, feed);
        if (code == kCodeAlongZ)
            cycle.AddMove(kMotionRapid, {s.X + offset.X, s.Z + offset.Z}, offset, first, feed);
        last_out = {first->X() + offset.X, s.Z + offset.Z};
        cycle.AddMove(kMotionRapid, last_out, offset, first, feed);
    }
    const bool in_control = cycle.Params.NoseCompensationMode() == NoseCompensation::InControl;
    if (in_control)
        add_compensated_lead_in(cycle, {first->X() + offset.X, first->Z() + offset.Z},
                                {last->X() + offset.X, last->Z() + offset.Z});
    double running_feed = feed;
    for (const TCNC_Groups* r : profile) {
        const CyclePoint t{r->X() + offset.X, r->Z() + offset.Z};
        if (r->WordSet[kWordFeed]) running_feed = r->Words[kWordFeed];
        const int motion = r->GroupSet[kGroupMotion] ? r->Motion() : kMotionLinear;
        const bool arc = motion == kMotionClockwise || motion == kMotionCounterClockwise;
        // An arc back to where the tool already is (zero length or a full
        // circle) is not written.
        if (!arc || !cycle.PointsCoincide(t, last_out))
            cycle.AddMove(motion, t, offset, r, running_feed);
        last_out = t;
    }
    if (in_control) add_compensated_lead_out(cycle, {s.X + offset.X, last->Z() + offset.Z});
    if (framed) {
        cycle.AddMove(kMotionLinear, {s.X + offset.X, last->Z() + offset.Z}, offset, last, feed);
        cycle.AddMove(kMotionRapid, {s.X + offset.X, s.Z + offset.Z}, offset, last, feed);
        cycle.AddMove(kMotionRapid, s, offset, last, feed);
    }
    return !cycle.Failed();
}

bool generate_finishing(TCanCycle& cycle) {
    return ContourPass(cycle, cycle.Allowance, cycle.ProfileMoves);
}

// Straight feed moves through the start point and every profile point; an
// arc is cut as its chord.
bool generate_linear(TCanCycle& cycle) {
    if (cycle.ProfileMoves.empty()) return cycle.Fail("The profile is empty.");
    const double feed = cycle.Params.Feed;
    const auto& profile = cycle.ProfileMoves;
    cycle.AddMove(kMotionLinear, cycle.StartPoint, {0, 0}, profile.front(), feed);
    const bool in_control = cycle.Params.NoseCompensationMode() == NoseCompensation::InControl;
    if (in_control)
        add_compensated_lead_in(cycle, record_point(*profile.front()),
                                record_point(*profile.back()));
    for (const TCNC_Groups* r : profile)
        cycle.AddMove(kMotionLinear, record_point(*r), {0, 0}, r, feed);
    // Straight back to the start could cross the part: off the profile instead.
    if (in_control) add_compensated_lead_out(cycle, record_point(*profile.back()));
    return !cycle.Failed();
}

} // namespace zeran
