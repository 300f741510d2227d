#include "geometry/entity_list.h"

#include <algorithm>

namespace zeran {

Entity_List::Entity_List(std::string name, DXF_Layer* layer, Ownership ownership)
    : name_(std::move(name)), layer_(layer), ownership_(ownership) {}

Entity_List::~Entity_List() {
    clear();
}

bool Entity_List::add(std::unique_ptr<DXF_Entity> entity) {
    if (!entity || !owns()) return false;
    entities_.push_back(entity.release());
    return true;
}

bool Entity_List::add_reference(DXF_Entity* entity) {
    if (!entity || owns()) return false;
    entities_.push_back(entity);
    return true;
}

bool Entity_List::insert(std::size_t index, std::unique_ptr<DXF_Entity> entity) {
    if (!entity || !owns()) return false;
    index = std::min(index, entities_.size());
    entities_.insert(entities_.begin() + static_cast<std::ptrdiff_t>(index), entity.release());
    return true;
}

bool Entity_List::remove(const DXF_Entity* entity) {
    auto it = std::find(entities_.begin(), entities_.end(), entity);
    if (it == entities_.end()) return false;
    DXF_Entity* e = *it;
    entities_.erase(it);
    if (owns()) delete e;
    return true;
}

std::unique_ptr<DXF_Entity> Entity_List::release(const DXF_Entity* entity) {
    if (!owns()) return nullptr;
    auto it = std::find(entities_.begin(), entities_.end(), entity);
    if (it == entities_.end()) return nullptr;
    std::unique_ptr<DXF_Entity> e(*it);
    entities_.erase(it);
    return e;
}

void Entity_List::clear() {
    if (owns())
        for (DXF_Entity* e : entities_) delete e;
    entities_.clear();
}

int Entity_List::index_of(const DXF_Entity* entity) const {
    auto it = std::find(entities_.begin(), entities_.end(), entity);
    return it == entities_.end() ? -1 : static_cast<int>(it - entities_.begin());
}

void Entity_List::grow_extents(Point3D& max, Point3D& min) const {
    for (const DXF_Entity* e : entities_) e->grow_extents(max, min);
}

} // namespace zeran
