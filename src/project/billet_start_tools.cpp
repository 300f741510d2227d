#include "project/billet_start_tools.h"

#include "project/project_model.h"
#include "project/project_session.h"

namespace zeran {

void BilletDragTool::begin(Point3D p) {
    active_ = true;
    session_.model().SetBilletFromPoint(p);
}

void BilletDragTool::move(Point3D p) {
    if (active_) session_.model().SetBilletFromPoint(p);
}

bool BilletDragTool::commit(Point3D p) {
    if (!active_) return false;
    active_ = false;
    ProjectModel& model = session_.model();
    model.SetBilletFromPoint(p);
    // The header takes the billet only now: the drag showed it in the edits.
    model.SetBillet(model.billet_edit_l, model.billet_edit_r);
    return session_.commit("Move Billet", {Change::DatumBillet, -1});
}

void BilletDragTool::cancel() {
    if (!active_) return;
    active_ = false;
    session_.revert();
}

bool StartPointTool::place(CycleNode& node, Point3D p) {
    ProjectModel& model = session_.model();
    const int index = model.cycle_index(&node);
    if (index < 0 || !model.datum_set) return false;
    return session_.apply("Place Start Point", {Change::Cycle, index},
                          [&node, p](ProjectModel& m) { m.SetStartFromPoint(node, p); });
}

} // namespace zeran
