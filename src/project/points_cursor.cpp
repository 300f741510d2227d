#include "project/points_cursor.h"

#include "project/cycle_nodes.h"

#include <algorithm>

namespace zeran {

bool PointsCursor::is_selected(ElementId id) const {
    return id.valid() && std::find(selected.begin(), selected.end(), id) != selected.end();
}

void PointsCursor::select(ElementId id, bool on) {
    if (!id.valid() || on == is_selected(id)) return;
    if (on)
        selected.push_back(id);
    else
        selected.erase(std::find(selected.begin(), selected.end(), id));
}

void PointsCursor::select_all(const PointsList& list) {
    selected.clear();
    for (const ProfileItem& item : list.items)
        if (item.id.valid()) selected.push_back(item.id);
}

int PointsCursor::selected_count(const PointsList& list) const {
    return static_cast<int>(
        std::count_if(list.items.begin(), list.items.end(),
                      [this](const ProfileItem& i) { return is_selected(i.id); }));
}

void PointsCursor::fit(const PointsList& list) {
    std::erase_if(selected, [&list](ElementId id) {
        return std::none_of(list.items.begin(), list.items.end(),
                            [id](const ProfileItem& item) { return item.id == id; });
    });
    if (focused >= list.count()) focused = list.count() - 1;
    if (tag >= list.count()) tag = list.count() - 1;
}

} // namespace zeran
