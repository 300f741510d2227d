#include "project/datum_drag_tool.h"

#include "project/project_session.h"

namespace zeran {

void DatumDragTool::begin(Point3D p, const DXF_Entity* snap_to) {
    active_ = true;
    session_.model().BeginDatumDrag(p, snap_to);
}

void DatumDragTool::move(Point3D p, const DXF_Entity* snap_to) {
    if (active_) session_.model().SetDatumFromPoint(p, snap_to, true);
}

bool DatumDragTool::commit(Point3D p, DatumSnap snap) {
    if (!active_) return false;
    active_ = false;
    session_.model().EndDatumDrag(p, snap);
    return session_.commit("Move Datum", {Change::DatumBillet, -1});
}

void DatumDragTool::cancel() {
    if (!active_) return;
    active_ = false;
    session_.revert();
}

} // namespace zeran
