// The datum, billet and start point as the view's marker tools place them.
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/picking_geometry.h"
#include "project/display_rounding.h"
#include "project/project_model.h"

namespace zeran {

namespace {

// Whether `snapped`, what SnapPoint gave for p, is one of the element's key
// points rather than p handed back for want of one.
bool is_key_point(const DXF_Entity& element, Point3D snapped, Point3D p) {
    if (snapped.x != p.x || snapped.y != p.y) return true;
    const auto [s, e] = EntityEnds(element);
    const Point3D m = EntityMiddle(element);
    for (const Point3D& k : {s, e, m})
        if (k.x == p.x && k.y == p.y) return true;
    return false;
}

} // namespace

void ProjectModel::BeginDatumDrag(Point3D p, const DXF_Entity* snap_to) {
    last_datum_point = p;
    last_datum_snapped_ = false;
    SetDatumFromPoint(p, snap_to, true);
}

void ProjectModel::SetDatumFromPoint(Point3D p, const DXF_Entity* snap_to, bool dragging) {
    // A key point of the drawing and a point given outright are used as they
    // are; only a bare mouse position is rounded to what the edits step in.
    bool exact = !dragging;
    if (dragging && snap_to) {
        const Point3D snapped = SnapPoint(*snap_to, p);
        // A key point is taken however near the pointer is to it; without
        // one the datum stays at the last datum point.
        if (!is_key_point(*snap_to, snapped, p)) {
            p = last_datum_point;
            exact = last_datum_snapped_;
        } else {
            p = snapped;
            last_datum_point = snapped;
            last_datum_snapped_ = true;
            exact = true;
        }
    } else {
        last_datum_point = p;
        last_datum_snapped_ = false;
    }
    if (!exact) {
        const double c = edit_rounding_factor(units);
        p = {RoundTo(c, p.x), RoundTo(c, p.y), p.z};
    }
    datum_x = p.x;
    datum_y = p.y;
    datum_edit_x = p.x;
    datum_edit_y = p.y;
    if (!dragging) {
        // The drag is over (or the point was given outright).
        datum_set = true;
        datum_placed();
    }
}

void ProjectModel::EndDatumDrag(Point3D p, DatumSnap snap) {
    // With snapping the datum stays where the drag last put it.
    if (snap == DatumSnap::Off) SetDatumFromPoint(p, nullptr, true);
    SetDatumFromEdits(datum_edit_x, datum_edit_y);
}

void ProjectModel::SetDatumFromEdits(double x, double y) {
    datum_edit_x = x;
    datum_edit_y = y;
    datum_x = x;
    datum_y = y;
    datum_set = !is_not_set(x) && !is_not_set(y);
    if (datum_set) datum_placed();
}

void ProjectModel::datum_placed() {
    modified_ = true;
    for (auto& node : cycles) {
        node->cycle->NeedsGenerate = true;
        if (node->params->UseBillet)
            set_billet_start(*node, node->cycle->Moves.empty() ? Sides::Unknown : Sides::Known);
    }
    BuildSelectionLists();
}

void ProjectModel::SetBilletFromPoint(Point3D p) {
    const double c = edit_rounding_factor(units);
    billet_edit_l = RoundTo(c, datum_edit_x - p.x);
    billet_edit_r = RoundTo(c, p.y - datum_edit_y);
}

void ProjectModel::SetStartFromPoint(CycleNode& node, Point3D p) {
    const double c = edit_rounding_factor(units);
    SetStartPoint(node, RoundTo(c, p.y - datum_edit_y), RoundTo(c, p.x - datum_edit_x));
}

} // namespace zeran
