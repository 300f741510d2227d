#include "geometry/dxf_layer.h"

namespace zeran {

DXF_Layer::DXF_Layer(std::string n, int c) : name(std::move(n)), colour(c) {}

DXF_Layer::~DXF_Layer() {
    // The last list first, as the lists were built.
    while (!entity_lists_.empty()) entity_lists_.pop_back();
}

Entity_List* DXF_Layer::find_list(std::string_view class_name) const {
    for (const auto& list : entity_lists_)
        if (list->name() == class_name) return list.get();
    return nullptr;
}

DXF_Entity* DXF_Layer::add_entity(std::unique_ptr<DXF_Entity> entity) {
    if (!entity) return nullptr;
    Entity_List* list = find_list(entity->class_name());
    if (!list) {
        entity_lists_.push_back(
            std::make_unique<Entity_List>(std::string(entity->class_name()), this));
        list_names_.emplace_back(entity->class_name());
        if (entity_lists_.size() != list_names_.size()) throw EntityListMismatch();
        list = entity_lists_.back().get();
    }
    DXF_Entity* e = entity.get();
    list->add(std::move(entity));
    if (e->colour_index() == 0 || e->colour_index() == 256) e->set_colour_index(colour);
    return e;
}

bool DXF_Layer::remove_list(std::size_t index) {
    if (index < entity_lists_.size())
        entity_lists_.erase(entity_lists_.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < list_names_.size())
        list_names_.erase(list_names_.begin() + static_cast<std::ptrdiff_t>(index));
    return entity_lists_.size() == list_names_.size();
}

int DXF_Layer::entity_count() const {
    int n = 0;
    for (const auto& list : entity_lists_) n += list->count();
    return n;
}

void DXF_Layer::grow_extents(Point3D& max, Point3D& min) const {
    for (const auto& list : entity_lists_) list->grow_extents(max, min);
}

} // namespace zeran
