#pragma once
// The picking geometry the project model uses: clipping at the datum line,
// snapping, and chaining connected elements. Taken from the cycle engine's
// picking routines; until those are in the build, a minimal stand-in with
// the same rules keeps the model usable.
#include "geometry/entity.h"

#include <memory>
#include <vector>

namespace zeran {

class selection_lists;

struct ClipOutcome {
    std::unique_ptr<DXF_Entity> copy;
    int status = 0; // 0 whole, 1 start cut, 2 end cut, 3 nothing left
};

ClipOutcome clip_at_axis(const DXF_Entity& element, double y);
Point3D snap_point(const DXF_Entity& element, Point3D p);
// The elements from `first` up to (not including) `last`, or empty.
std::vector<DXF_Entity*> chain_between(DXF_Entity* first, DXF_Entity* last,
                                       const selection_lists& lists, double tolerance);

} // namespace zeran
