#pragma once
// The billet and a cycle's start point placed with the mouse. The billet
// follows the pointer while the button is down and lands as one undoable
// step on release; Escape puts it back. The start point is placed by one
// click, one step.
#include "geometry/point3d.h"

namespace zeran {

class ProjectSession;
struct CycleNode;

class BilletDragTool {
public:
    explicit BilletDragTool(ProjectSession& session) : session_(session) {}

    // The billet runs from the datum to p: length towards smaller x, radius upwards.
    void begin(Point3D p);
    void move(Point3D p);
    // True when the new billet changed the document.
    bool commit(Point3D p);
    void cancel();
    bool active() const { return active_; }

private:
    ProjectSession& session_;
    bool active_ = false;
};

class StartPointTool {
public:
    explicit StartPointTool(ProjectSession& session) : session_(session) {}

    // The start point of `node` at p, relative to the datum, X as a radius.
    bool place(CycleNode& node, Point3D p);

private:
    ProjectSession& session_;
};

} // namespace zeran
