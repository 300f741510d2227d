#pragma once
// Offsetting an open lathe profile of lines and arcs by the insert's nose
// radius: the path of the round's centre, arcs kept as arcs. Convex corners
// get a round of the offset distance, concave ones are trimmed where the
// neighbouring offsets meet; what the round cannot reach is reported, never
// cut into.
#include "cycles/part_outline.h"

#include <cstddef>
#include <vector>

namespace zeran {

// Of the direction of travel, with Z to the right and X up.
enum class OffsetSide { Left, Right };

// Material the round cannot reach: a concave arc tighter than the radius, or
// an element the offsets of its neighbours pass over (a gap or a step
// narrower than the round).
struct UncutPlace {
    CyclePoint at;     // on the profile
    double radius = 0; // the arc's radius there; 0 for a line passed over
};

struct OffsetPath {
    std::vector<OutlinePiece> pieces;
    // For each piece, the profile piece it follows; a corner round counts as
    // part of the piece after it.
    std::vector<std::size_t> source;
    std::vector<UncutPlace> uncut;
};

// Pieces shorter than `tolerance` are passed over; ends closer than it count
// as one point.
OffsetPath offset_profile(const std::vector<OutlinePiece>& profile, double distance,
                          OffsetSide side, double tolerance);

// The side of `profile` on which a tool working from the maximum-X side
// (x_high) or the minimum, and likewise in Z, stands.
OffsetSide tool_side(const std::vector<OutlinePiece>& profile, bool x_high, bool z_high);

// Where the imaginary tool tip lies from the round's centre, in radii, for a
// lathe tool table's orientation 1..9 (Z to the right, X up: 2 is the usual
// outside turning tool cutting towards minus Z). Any other number takes the
// orientation the tool's sides imply: the tip faces the part.
CyclePoint tip_direction(int orientation, bool x_high, bool z_high);

// The orientation (1..4) implied by the tool's sides.
int implied_orientation(bool x_high, bool z_high);

} // namespace zeran
