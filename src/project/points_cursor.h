#pragma once
// Where a cycle's points list stands as the window shows it: the focused
// row, the row last matched under the pointer or appended, and the elements
// whose rows are selected. No part of the project: the session keeps one per
// cycle, and the profile commands are given it, since they act at the focus
// and on the selection. The selection is kept by the elements' lasting ids,
// so it follows its rows wherever an edit, a reversal or a datum move takes
// them.
#include "project/element_lists.h"

#include <vector>

namespace zeran {

struct PointsList;

struct PointsCursor {
    int focused = -1; // -1: none
    int tag = -1;     // -1: none
    std::vector<ElementId> selected;

    bool is_selected(ElementId id) const;
    void select(ElementId id, bool on = true);
    void select_all(const PointsList& list);
    int selected_count(const PointsList& list) const;
    // Forgets what the list no longer holds, and a focus past its end.
    void fit(const PointsList& list);
};

} // namespace zeran
