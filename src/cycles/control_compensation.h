#pragma once
// Compensation in the control: the contour pass follows the profile itself
// and the moves onto and off it tell the control to keep the insert's round
// on the profile in between (G41/G42, then G40). Controls take the lead-in
// only as a straight move longer than the nose radius, so both leads are
// straight feed moves of at least kLeadRadii nose radii.
#include "cycles/can_cycle.h"

namespace zeran {

inline constexpr double kLeadRadii = 2;

// The side of the profile the tool works from (kCompLeft or kCompRight)
// and its tip's orientation (the tool's own, else the one its sides imply).
struct ControlCompensation {
    int side = kCompRight;
    int orientation = 0;
};
ControlCompensation control_compensation(const TCanCycle& cycle);

// From where the tool is, a straight feed onto `target` that turns
// compensation on, with a rapid further out first when the tool is too
// close; fails the cycle when the control could not follow its profile.
// `last` is the profile's end, for the side to back out to.
void add_compensated_lead_in(TCanCycle& cycle, CyclePoint target, CyclePoint last);
// From the profile's end, a straight feed towards `away` (or off the profile
// on the tool's side when `away` is too close) that turns compensation off.
void add_compensated_lead_out(TCanCycle& cycle, CyclePoint away);

} // namespace zeran
