#pragma once
// Where a cycle's points list stands as the window shows it: the focused
// row, the row last matched under the pointer or appended, and the elements
// whose rows are selected. No part of the project: the session keeps one per
// cycle, and the profile commands are given it, since they act at the focus
// and on the selection. The selection is kept by element, so it follows its
// rows wherever an edit or a reversal moves them.
#include <vector>

namespace zeran {

class DXF_Entity;
struct PointsList;

struct PointsCursor {
    int focused = -1; // -1: none
    int tag = -1;     // -1: none
    std::vector<const DXF_Entity*> selected;

    bool is_selected(const DXF_Entity* element) const;
    void select(const DXF_Entity* element, bool on = true);
    void select_all(const PointsList& list);
    int selected_count(const PointsList& list) const;
    // Forgets what the list no longer holds, and a focus past its end.
    void fit(const PointsList& list);
};

} // namespace zeran
