#pragma once
// The element under the pointer: the nearest one of the lists the view picks
// from. The window draws the highlight; the document never sees it.
#include "cycles/picking_geometry.h"
#include "geometry/point3d.h"
#include "geometry/selection_lists.h"

namespace zeran {

class HoverTool {
public:
    // The element now under `p`; true when that is another one than before.
    bool move(Point3D p, const selection_lists* lists) {
        const DXF_Entity* before = current_;
        current_ = lists ? NearestEntity(p, *lists) : nullptr;
        return current_ != before;
    }
    // Before the lists are replaced: nothing is under the pointer any more.
    void forget() { current_ = nullptr; }
    const DXF_Entity* current() const { return current_; }

private:
    const DXF_Entity* current_ = nullptr;
};

} // namespace zeran
