#include "project/profile_pick_tool.h"

#include "base/prompt.h"
#include "cycles/kind_description.h"
#include "geometry/entity.h"
#include "project/project_model.h"
#include "project/project_session.h"

namespace zeran {

namespace {

bool refuses(const CycleNode& node, const DXF_Entity* element) {
    if (!element || describe(node.kind()).profile != ProfileRule::NoArcs) return false;
    return element->kind() == EntityKind::Arc || element->kind() == EntityKind::Circle;
}

} // namespace

bool ProfilePickTool::engaged() const {
    const CycleSelection& selected = session_.selected;
    return selected.part == CyclePart::Profile && selected.node &&
           session_.model().cycle_index(selected.node) >= 0;
}

PickCursor ProfilePickTool::hover(const DXF_Entity* hovered) {
    cursor_ = PickCursor::Off;
    if (!engaged()) return cursor_;
    ProjectModel& model = session_.model();
    const CycleNode& node = *session_.selected.node;
    // A full single-element list still lets its one element be taken out.
    if (const int listed = hovered ? node.points.index_of(hovered) : -1; listed >= 0) {
        session_.cursor(node).tag = listed;
        return cursor_ = PickCursor::Minus;
    }
    if (model.SingleElementFull(node)) return cursor_;
    cursor_ = refuses(node, hovered) ? PickCursor::Refuse : PickCursor::Plus;
    return cursor_;
}

bool ProfilePickTool::press(const DXF_Entity* hovered, AddType how) {
    ProjectModel& model = session_.model();
    switch (hover(hovered)) {
    case PickCursor::Off:
        return false;
    case PickCursor::Refuse:
        model.prompt().tell(MessageKind::Warning, kGroovingArcMessage);
        return false;
    case PickCursor::Minus: {
        CycleNode& node = *session_.selected.node;
        PointsCursor& at = session_.cursor(node);
        // The clicked item goes together with any that were selected already.
        at.select(node.points.items[static_cast<std::size_t>(at.tag)].id);
        if (at.focused < 0) at.focused = at.tag;
        return session_.apply("Remove from Profile", {Change::Cycle, model.cycle_index(&node)},
                              [&node, &at](ProjectModel& m) { m.DeleteSelectedPoints(node, at); });
    }
    case PickCursor::Plus: {
        // The hovered element is one of the model's own element copies.
        auto* element = const_cast<DXF_Entity*>(hovered);
        CycleNode& node = *session_.selected.node;
        PointsCursor& at = session_.cursor(node);
        return session_.apply(
            "Add to Profile", {Change::Cycle, model.cycle_index(&node)},
            [&node, &at, element, how](ProjectModel& m) { m.AddAtCursor(node, at, element, how); });
    }
    }
    return false;
}

} // namespace zeran
