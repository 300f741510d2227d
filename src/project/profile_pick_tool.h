#pragma once
// Picking a cycle's profile in the view. While a Profile node is selected the
// element under the pointer decides what a click does: add it, take it out
// of the list, or nothing (an arc for a groove, a single-element list that is
// full). A click that changes the profile is one undoable step.
#include "project/project_model.h"

#include <string>

namespace zeran {

class DXF_Entity;
class ProjectSession;

// What a click over the hovered element would do; the view's cursor shows it.
enum class PickCursor {
    Off,    // not picking: the view's own zoom mode
    Plus,   // adds
    Minus,  // removes the listed element
    Refuse, // cannot be added (an arc for a groove)
};

inline constexpr const char* kGroovingArcMessage =
    "Arcs cannot be added to a Grooving Cycle profile.";

class ProfilePickTool {
public:
    explicit ProfilePickTool(ProjectSession& session) : session_(session) {}

    // A Profile node is selected: the view picks for it.
    bool engaged() const;
    // The pointer is over `hovered` (null: over nothing). A listed element
    // becomes the list's matched item.
    PickCursor hover(const DXF_Entity* hovered);
    PickCursor cursor() const { return cursor_; }
    // A press over `hovered`, adding the way `how` says. True when the
    // profile changed.
    bool press(const DXF_Entity* hovered, AddType how = AddType::Single);

private:
    ProjectSession& session_;
    PickCursor cursor_ = PickCursor::Off;
};

} // namespace zeran
