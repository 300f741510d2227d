#pragma once
// Copies of profile entities, and the copy of an entity cut at the spindle
// axis that the selection lists hold.
#include <memory>

namespace zeran {

class DXF_Entity;

// A new Line_, Arc_ or Polyline_ of the same geometry, extrusion and colour,
// running forwards, with `source` naming the original; none for other kinds.
std::unique_ptr<DXF_Entity> CopyEntity(const DXF_Entity& entity);

enum class ClipStatus : int { Whole = 0, StartCut = 1, EndCut = 2, NothingLeft = 3 };

struct ClipResult {
    std::unique_ptr<DXF_Entity> copy;
    ClipStatus status = ClipStatus::Whole;
};

// The copy with everything below the axis height y removed. The caller drops
// the copy when nothing is left.
ClipResult ClipAtAxis(const DXF_Entity& entity, double y);

} // namespace zeran
