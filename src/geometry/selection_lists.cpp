#include "geometry/selection_lists.h"

namespace zeran {

Entity_List* selection_lists::add_list(std::string name, Ownership ownership) {
    lists_.push_back(std::make_unique<Entity_List>(std::move(name), nullptr, ownership));
    return lists_.back().get();
}

Entity_List* selection_lists::find(std::string_view name) const {
    for (const auto& list : lists_)
        if (list->name() == name) return list.get();
    return nullptr;
}

} // namespace zeran
