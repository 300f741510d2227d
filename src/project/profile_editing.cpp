// Building a cycle's profile: adding picked elements, the points list's
// commands and the reversal a cycle asks for.
#include "base/number_text.h"
#include "base/prompt.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"
#include "cycles/picking_geometry.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "project/element_lists.h"
#include "project/points_clipboard.h"
#include "project/points_cursor.h"
#include "project/project_model.h"

#include <algorithm>

namespace zeran {

namespace {

bool is_single_element_kind(CycleKind kind) {
    return describe(kind).profile == ProfileRule::OneElement;
}

bool is_arc_or_circle(const DXF_Entity* e) {
    return e && (e->kind() == EntityKind::Arc || e->kind() == EntityKind::Circle);
}

} // namespace

int PointsList::index_of(const DXF_Entity* element) const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].element == element) return static_cast<int>(i);
    return -1;
}

std::string ProjectModel::DescribeElement(const DXF_Entity& element) const {
    const int decimals = units == Units::Inch ? 4 : 1;
    auto num = [&](double v) { return fixed_text(v, 7, decimals); };
    auto ends = [&]() {
        const Point3D s = element.start_point();
        const Point3D e = element.end_point();
        return "(X " + num(s.x) + ", Y " + num(s.y) + ") - (X " + num(e.x) + ", Y " + num(e.y) +
               ") ";
    };
    if (element.kind() == EntityKind::Line) return "Line " + ends();
    if (const auto* arc = dynamic_cast<const Arc_*>(&element)) {
        return "Arc " + ends() + "Center: (X " + num(arc->point.x) + " ,Y " + num(arc->point.y) +
               ") Angle: " + num(degrees(arc->end_angle - arc->start_angle)) +
               " Radius: " + num(arc->radius);
    }
    if (const auto* poly = dynamic_cast<const Polyline_*>(&element);
        poly && element.kind() == EntityKind::Polyline)
        return "Polyline " + ends() + "Element Count: " + std::to_string(poly->vertex_count());
    return element.describe();
}

void ProjectModel::SetProfileState(CycleNode& node) {
    node.profile_node.state_index = node.points.empty() ? kStateIncomplete : kStateComplete;
}

bool ProjectModel::SingleElementFull(const CycleNode& node) const {
    return is_single_element_kind(node.kind()) && !node.points.empty();
}

bool ProjectModel::AddTypeAvailable(const CycleNode& node) const {
    return !node.points.empty() && !SingleElementFull(node);
}

bool ProjectModel::AddToProfile(CycleNode& node, DXF_Entity* element, bool ask,
                                PointsCursor* cursor) {
    // Without the window's cursor the element is appended.
    PointsCursor appending;
    PointsCursor& at = cursor ? *cursor : appending;
    if (!element) {
        SetProfileState(node);
        return false;
    }
    PointsList& list = node.points;
    if (list.index_of(element) >= 0) return false;
    // A single-element cycle takes one element; grooving takes no arcs.
    if (is_single_element_kind(node.kind()) && !list.empty()) return false;
    if (describe(node.kind()).profile == ProfileRule::NoArcs && is_arc_or_circle(element)) {
        prompt_->tell(MessageKind::Warning, "Arcs cannot be added to a Grooving Cycle profile.");
        return false;
    }
    ProfileItem item{DescribeElement(*element), IdOf(element), element};
    bool before = false;
    if (ask && at.focused == 0 && !list.empty()) {
        const int choice = prompt_->choose(
            "Do you wish to insert the selected point in the list before or after the first item.",
            {"Before", "After"}, 1);
        before = choice == 0;
    }
    if (before) {
        list.items.insert(list.items.begin(), std::move(item));
        at.focused = 0;
    } else if (at.focused < 0 || at.focused >= list.count() - 1) {
        list.items.push_back(std::move(item));
        at.focused = list.count() - 1;
        at.tag = at.focused;
    } else {
        list.items.insert(list.items.begin() + at.focused + 1, std::move(item));
        ++at.focused;
    }
    if (!loading) MarkCycleChanged(&node);
    SetProfileState(node);
    return true;
}

bool ProjectModel::AddAtCursor(CycleNode& node, PointsCursor& cursor, DXF_Entity* hovered,
                               AddType how) {
    bool added = false;
    if (how == AddType::Inclusive) {
        PointsList& list = node.points;
        if (cursor.focused < 0) cursor.focused = cursor.tag;
        if (cursor.focused < 0 || cursor.focused >= list.count() || !hovered) {
            prompt_->tell(MessageKind::Warning, "Inclusive item selection, failed.\r\rCheck that "
                                                "all DXF file intersection points meet.");
            return false;
        }
        DXF_Entity* start = list.items[static_cast<std::size_t>(cursor.focused)].element;
        std::vector<DXF_Entity*> chain =
            ChainBetween(start, hovered, *selection, point_tolerance());
        if (chain.empty()) {
            prompt_->tell(MessageKind::Warning, "Inclusive item selection, failed.\r\rCheck that "
                                                "all DXF file intersection points meet.");
            return false;
        }
        chain.push_back(hovered);
        for (DXF_Entity* e : chain) added = AddToProfile(node, e, false, &cursor) || added;
    } else {
        added = AddToProfile(node, hovered, true, &cursor);
    }
    MarkCycleChanged(&node);
    return added;
}

void ProjectModel::DeleteSelectedPoints(CycleNode& node, PointsCursor& cursor) {
    PointsList& list = node.points;
    if (cursor.focused < 0) return;
    const int count = cursor.selected_count(list);
    if (count == 0) return;
    if (count > 1) {
        const Answer a = prompt_->ask_titled(
            "Confirm Delete Selected", MessageKind::Confirmation,
            "By selecting this command you will delete all selected items in the list. "
            "Do you wish to continue?",
            {Answer::Yes, Answer::No});
        if (a != Answer::Yes) return;
    }
    std::erase_if(list.items,
                  [&cursor](const ProfileItem& item) { return cursor.is_selected(item.id); });
    cursor.fit(list);
    MarkCycleChanged(&node);
    SetProfileState(node);
}

void ProjectModel::ClearPoints(CycleNode& node, PointsCursor& cursor) {
    const Answer a =
        prompt_->ask_titled("Confirm Clear List", MessageKind::Confirmation,
                            "By selecting this command you will delete all items in the list. "
                            "Do you wish to continue?",
                            {Answer::Yes, Answer::No});
    if (a != Answer::Yes) return;
    node.points.items.clear();
    cursor = PointsCursor{};
    MarkCycleChanged(&node);
    SetProfileState(node);
}

void ProjectModel::CutPoints(CycleNode& node, PointsCursor& cursor, PointsClipboard& clipboard) {
    CopyPoints(node, cursor, clipboard);
    PointsList& list = node.points;
    std::erase_if(list.items,
                  [&cursor](const ProfileItem& item) { return cursor.is_selected(item.id); });
    cursor.fit(list);
    MarkCycleChanged(&node);
    SetProfileState(node);
}

void ProjectModel::CopyPoints(const CycleNode& node, const PointsCursor& cursor,
                              PointsClipboard& clipboard) const {
    clipboard.elements.clear();
    for (const ProfileItem& item : node.points.items)
        if (cursor.is_selected(item.id)) clipboard.elements.push_back(item.id);
}

void ProjectModel::PastePoints(CycleNode& node, PointsCursor& cursor,
                               const PointsClipboard& clipboard) {
    if (clipboard.empty() || SingleElementFull(node)) return;
    PointsList& list = node.points;
    // What is left out of the lists now (unchecked, or below the axis) is not pasted.
    std::vector<ProfileItem> entries;
    for (const ElementId id : clipboard.elements)
        if (DXF_Entity* copy = CopyOf(id))
            entries.push_back(ProfileItem{DescribeElement(*copy), id, copy});
    if (entries.empty()) return;
    if (entries.size() > 1 && is_single_element_kind(node.kind())) entries.resize(1);

    std::size_t at = list.items.size();
    if (!list.empty()) {
        const int choice = prompt_->choose("Paste operation, do you wish to append the paste list "
                                           "to end of the current list, insert the paste "
                                           "list at the selected item of the current list or "
                                           "replace the current list with the paste list?",
                                           {"Append", "Insert", "Replace", "Cancel"}, 3);
        const PasteChoice pc = choice == 0   ? PasteChoice::Append
                               : choice == 1 ? PasteChoice::Insert
                               : choice == 2 ? PasteChoice::Replace
                                             : PasteChoice::Cancel;
        switch (pc) {
        case PasteChoice::Append:
            at = list.items.size();
            break;
        case PasteChoice::Insert:
            at = cursor.focused >= 0 ? static_cast<std::size_t>(cursor.focused) + 1 : 0;
            break;
        case PasteChoice::Replace:
            list.items.clear();
            cursor = PointsCursor{};
            at = 0;
            break;
        case PasteChoice::Cancel:
            return;
        }
    }
    // Pasted rows come unselected.
    for (const ProfileItem& e : entries) cursor.select(e.id, false);
    list.items.insert(list.items.begin() + static_cast<std::ptrdiff_t>(at), entries.begin(),
                      entries.end());
    MarkCycleChanged(&node);
    SetProfileState(node);
}

void ProjectModel::ReverseProfile(CycleNode& node) {
    std::reverse(node.points.items.begin(), node.points.items.end());
    MarkCycleChanged(&node);
    skip_next_prepare = true;
}

} // namespace zeran
