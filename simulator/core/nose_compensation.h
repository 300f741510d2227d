#pragma once
// Where a control that compensates for the nose radius (G41/G42) moves the
// centre of the insert's round, so that the round touches the programmed
// path from one side.
#include "motion_path.h"

namespace simvo {

// The programmed path offset by `radius` to `side`: around the corners it
// turns away from the round rolls about the corner, where it turns in the
// two offsets are cut back to where they meet. Off, or no radius, returns
// the path as it is.
Polyline nose_centre_path(const Polyline& programmed, double radius, Compensation side);

// The insert outline (about its sharp tip) grown by its nose round, about
// the round's centre.
Polyline rounded_insert(const Polyline& outline, double radius);

} // namespace simvo
