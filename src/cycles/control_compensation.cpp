#include "cycles/control_compensation.h"

#include "base/number_text.h"
#include "cycles/profile_geometry.h"

#include <cmath>

namespace zeran {

namespace {

// A lead shorter than this would vanish once rounded, whatever the radius.
constexpr double kShortestLeadMm = 1.0;

double lead_length(const TCanCycle& cycle) {
    const double shortest = cycle.Params.Units == 1 ? kShortestLeadMm / 25.4 : kShortestLeadMm;
    return std::max(kLeadRadii * cycle.NoseRadius, shortest);
}

CyclePoint tool_position(const TCanCycle& cycle) {
    if (cycle.Moves.empty()) return cycle.StartPoint;
    return {cycle.Moves.back()->X(), cycle.Moves.back()->Z()};
}

// Off the profile towards the tool: along X for a profile that runs mostly
// along Z, along Z for a face.
CyclePoint off_profile(const TCanCycle& cycle, CyclePoint first, CyclePoint last) {
    if (std::fabs(last.Z - first.Z) >= std::fabs(last.X - first.X))
        return {cycle.XSide ? 1.0 : -1.0, 0};
    return {0, cycle.ZSide ? 1.0 : -1.0};
}

// `from` + `length` towards `to`, or along `fallback` when they coincide.
CyclePoint towards(CyclePoint from, CyclePoint to, double length, CyclePoint fallback) {
    const double dx = to.X - from.X, dz = to.Z - from.Z, d = std::hypot(dx, dz);
    if (d == 0) return {from.X + fallback.X * length, from.Z + fallback.Z * length};
    return {from.X + dx / d * length, from.Z + dz / d * length};
}

std::vector<OutlinePiece> profile_pieces(const TCanCycle& cycle) {
    std::vector<OutlinePiece> pieces;
    const auto& profile = cycle.ProfileMoves;
    for (std::size_t k = 1; k < profile.size(); ++k) {
        const CyclePoint from = record_point(*profile[k - 1]), to = record_point(*profile[k]);
        const TCNC_Groups& r = *profile[k];
        pieces.push_back(r.IsArc() ? outline_arc(from, to, record_centre(r),
                                                 r.Motion() == kMotionCounterClockwise)
                                   : outline_line(from, to));
    }
    return pieces;
}

// A control refuses to follow a concave arc tighter than the nose, or a
// gap narrower than it, with compensation on: say so before posting.
bool control_can_follow(TCanCycle& cycle, int side) {
    if (!(cycle.NoseRadius > 0)) return true;
    const OffsetPath path = offset_profile(profile_pieces(cycle), cycle.NoseRadius,
                                           side == kCompLeft ? OffsetSide::Left : OffsetSide::Right,
                                           cycle.UnitTolerance() / 10);
    if (path.uncut.empty()) return true;
    const UncutPlace& u = path.uncut.front();
    const std::string at =
        "X" + general_text(2 * u.at.X, '.', 6) + " Z" + general_text(u.at.Z, '.', 6);
    const std::string what =
        u.radius > 0 ? "the concave arc of radius " + general_text(u.radius, '.', 6) + " at " + at
                     : "the profile at " + at;
    return cycle.Fail("The nose radius " + general_text(cycle.NoseRadius, '.', 6) +
                      " does not fit " + what +
                      ": the control cannot compensate there. Use compensation in the program "
                      "or a smaller nose.");
}

} // namespace

// The side and the implied orientation are those compensation in the
// program takes, so both ways keep the round on the same side.
ControlCompensation control_compensation(const TCanCycle& cycle) {
    std::vector<OutlinePiece> chords;
    for (std::size_t k = 1; k < cycle.ProfileMoves.size(); ++k)
        chords.push_back(outline_line(record_point(*cycle.ProfileMoves[k - 1]),
                                      record_point(*cycle.ProfileMoves[k])));
    ControlCompensation c;
    c.side =
        tool_side(chords, cycle.XSide, cycle.ZSide) == OffsetSide::Left ? kCompLeft : kCompRight;
    c.orientation = cycle.NoseOrientation >= 1 && cycle.NoseOrientation <= 9
                        ? cycle.NoseOrientation
                        : implied_orientation(cycle.XSide, cycle.ZSide);
    return c;
}

void add_compensated_lead_in(TCanCycle& cycle, CyclePoint target, CyclePoint last) {
    const ControlCompensation c = control_compensation(cycle);
    if (!control_can_follow(cycle, c.side)) return;
    const double length = lead_length(cycle);
    const CyclePoint at = tool_position(cycle);
    if (std::hypot(at.X - target.X, at.Z - target.Z) < length)
        cycle.AddMove(kMotionRapid, towards(target, at, length, off_profile(cycle, target, last)),
                      {0, 0}, nullptr, cycle.Params.Feed);
    if (!cycle.AddMove(kMotionLinear, target, {0, 0}, nullptr, cycle.Params.Feed)) return;
    TCNC_Groups& lead_in = *cycle.Moves.back();
    lead_in.SetGroup(kGroupCutterComp, c.side);
    lead_in.SetWord(kWordNoseRadius, cycle.NoseRadius);
    lead_in.SetWord(kWordNoseOrientation, c.orientation);
}

void add_compensated_lead_out(TCanCycle& cycle, CyclePoint away) {
    const double length = lead_length(cycle);
    const CyclePoint at = tool_position(cycle);
    CyclePoint to = away;
    if (std::hypot(away.X - at.X, away.Z - at.Z) < length) {
        const CyclePoint first =
            cycle.ProfileMoves.empty()
                ? at
                : CyclePoint{cycle.ProfileMoves.front()->X(), cycle.ProfileMoves.front()->Z()};
        to = towards(at, away, length, off_profile(cycle, first, at));
    }
    if (!cycle.AddMove(kMotionLinear, to, {0, 0}, nullptr, cycle.Params.Feed)) return;
    cycle.Moves.back()->SetGroup(kGroupCutterComp, kCompOff);
}

} // namespace zeran
