#pragma once
// Motions as polylines: lines as they are, arcs split finely enough that the
// chord never leaves the arc by more than the given error.
#include "program.h"

#include <vector>

namespace simvo {

using Polyline = std::vector<Point>;

// The start and end radius of an arc may differ (a programmed radius
// mismatch); the radius then changes evenly along the arc, as a control
// that accepts the block would move.
Polyline motion_path(const Motion& m, double chord_error);

double path_length(const Polyline& path);

// The signed sweep of an arc in radians: positive counter-clockwise (G3) with
// Z to the right and X up; a full turn when it ends where it starts.
double arc_sweep(const Motion& m);

} // namespace simvo
