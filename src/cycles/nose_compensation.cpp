// Nose radius compensation in the program: the prepared profile becomes the
// path of the imaginary tool tip while the insert's round follows the
// profile, so every generator that follows the profile allows for the nose.
#include "cycles/can_cycle.h"
#include "cycles/kind_description.h"
#include "cycles/profile_geometry.h"

#include <cmath>

namespace zeran {

namespace {

OutlinePiece piece_of(const TCNC_Groups& r, CyclePoint from) {
    if (r.IsArc())
        return outline_arc(from, record_point(r), record_centre(r),
                           r.Motion() == kMotionCounterClockwise);
    return outline_line(from, record_point(r));
}

CyclePoint moved(CyclePoint p, CyclePoint by) {
    return {p.X + by.X, p.Z + by.Z};
}

// Sets the record's end point with both words present, as the prepared
// profile has them: the roughing passes read a missing word as a move along
// one axis and give it no pass of its own.
void set_point(TCNC_Groups& r, CyclePoint to) {
    r.SetWord(kWordX, to.X);
    r.SetWord(kWordZ, to.Z);
}

} // namespace

bool TCanCycle::CompensatesNose() const {
    return std::isfinite(NoseRadius) && NoseRadius > 0 && takes_nose_compensation(Kind) &&
           Params.NoseCompensationMode() == NoseCompensation::InProgram;
}

CyclePoint TCanCycle::NoseTipOffset() const {
    if (!CompensatesNose()) return {0, 0};
    const CyclePoint d = tip_direction(NoseOrientation, XSide, ZSide);
    return {NoseRadius * d.X, NoseRadius * d.Z};
}

void TCanCycle::CompensateNose() {
    if (ProfileMoves.size() < 2) return;
    std::vector<OutlinePiece> pieces;
    CyclePoint from = record_point(*ProfileMoves.front());
    for (std::size_t k = 1; k < ProfileMoves.size(); ++k) {
        pieces.push_back(piece_of(*ProfileMoves[k], from));
        from = record_point(*ProfileMoves[k]);
    }
    // Finer than the unit's tolerance: joining ends is the only error allowed.
    const OffsetPath path =
        offset_profile(pieces, NoseRadius, tool_side(pieces, XSide, ZSide), UnitTolerance() / 10);
    Uncut = path.uncut;
    if (path.pieces.empty()) {
        Fail("The nose radius leaves nothing of the profile to follow.");
        return;
    }
    const CyclePoint tip = NoseTipOffset();
    std::vector<TCNC_Groups*> compensated;
    TCNC_Groups* head = NewRecord(*ProfileMoves.front());
    CyclePoint at = moved(path.pieces.front().a, tip);
    // The head keeps its words' presence: it is where the profile begins.
    head->Words[kWordX] = at.X;
    head->Words[kWordZ] = at.Z;
    compensated.push_back(head);
    for (std::size_t i = 0; i < path.pieces.size(); ++i) {
        const OutlinePiece& piece = path.pieces[i];
        // Pieces follow records 1.. of the profile; the feed and speed words come along.
        TCNC_Groups* r = NewRecord(*ProfileMoves[path.source[i] + 1]);
        const CyclePoint to = moved(piece.b, tip);
        set_point(*r, to);
        if (piece.arc) {
            const CyclePoint centre = moved(piece.centre, tip);
            r->SetWord(kWordCentreX, centre.X);
            r->SetWord(kWordCentreZ, centre.Z);
            r->SetWord(kWordRadius,
                       std::hypot(piece.a.X - piece.centre.X, piece.a.Z - piece.centre.Z));
            SetRecord(*r, at, piece.ccw ? kMotionCounterClockwise : kMotionClockwise, to);
        } else {
            r->SetGroup(kGroupMotion, kMotionLinear);
            for (int slot : {kWordCentreX, kWordCentreZ, kWordRadius, kWordSweep})
                r->WordSet[slot] = false;
        }
        compensated.push_back(r);
        at = to;
    }
    ProfileMoves = std::move(compensated);
}

} // namespace zeran
