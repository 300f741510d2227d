#include "project/points_cursor.h"

#include "project/cycle_nodes.h"

#include <algorithm>

namespace zeran {

bool PointsCursor::is_selected(const DXF_Entity* element) const {
    return element && std::find(selected.begin(), selected.end(), element) != selected.end();
}

void PointsCursor::select(const DXF_Entity* element, bool on) {
    if (!element || on == is_selected(element)) return;
    if (on)
        selected.push_back(element);
    else
        selected.erase(std::find(selected.begin(), selected.end(), element));
}

void PointsCursor::select_all(const PointsList& list) {
    selected.clear();
    for (const ProfileItem& item : list.items)
        if (item.element) selected.push_back(item.element);
}

int PointsCursor::selected_count(const PointsList& list) const {
    return static_cast<int>(
        std::count_if(list.items.begin(), list.items.end(),
                      [this](const ProfileItem& i) { return is_selected(i.element); }));
}

void PointsCursor::fit(const PointsList& list) {
    std::erase_if(selected, [&list](const DXF_Entity* e) { return list.index_of(e) < 0; });
    if (focused >= list.count()) focused = list.count() - 1;
    if (tag >= list.count()) tag = list.count() - 1;
}

} // namespace zeran
