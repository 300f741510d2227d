#pragma once
// Dragging the datum with the mouse: the datum follows the pointer while the
// button is down and lands as one undoable step when it is released; Escape
// puts it back where it was.
#include "geometry/point3d.h"
#include "project/project_model.h"

namespace zeran {

class DXF_Entity;
class ProjectSession;

class DatumDragTool {
public:
    explicit DatumDragTool(ProjectSession& session) : session_(session) {}

    // `snap_to`: the highlighted element of a Ctrl drag, or null.
    void begin(Point3D p, const DXF_Entity* snap_to);
    void move(Point3D p, const DXF_Entity* snap_to);
    // Places the datum for good; true when that changed the document.
    bool commit(Point3D p, DatumSnap snap);
    void cancel();
    bool active() const { return active_; }

private:
    ProjectSession& session_;
    bool active_ = false;
};

} // namespace zeran
