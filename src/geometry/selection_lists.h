#pragma once
// selection_lists: entity lists made for a selection. Each list either refers
// to entities owned by the drawing's layers or owns copies of them.
#include "geometry/entity_list.h"

#include <memory>
#include <string>
#include <vector>

namespace zeran {

class selection_lists {
public:
    selection_lists() = default;
    selection_lists(const selection_lists&) = delete;
    selection_lists& operator=(const selection_lists&) = delete;

    // Appends an empty list (belonging to no layer) and returns it.
    Entity_List* add_list(std::string name, Ownership ownership = Ownership::RefersOnly);
    void clear() { lists_.clear(); }

    int count() const { return static_cast<int>(lists_.size()); }
    Entity_List* operator[](std::size_t i) const { return lists_[i].get(); }
    auto begin() const { return lists_.begin(); }
    auto end() const { return lists_.end(); }
    // The first list of that name, or none.
    Entity_List* find(std::string_view name) const;

private:
    std::vector<std::unique_ptr<Entity_List>> lists_;
};

} // namespace zeran
