#pragma once
// DXF_Layer: a named layer with its colour and one entity list per entity
// class, in the order the classes first appeared.
#include "geometry/entity_list.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeran {

// "Entity list ID mismatch": the list names and the lists have drifted apart.
class EntityListMismatch : public std::logic_error {
public:
    EntityListMismatch() : std::logic_error("Entity list ID mismatch") {}
};

class DXF_Layer {
public:
    explicit DXF_Layer(std::string name, int colour = 0);
    ~DXF_Layer();
    DXF_Layer(const DXF_Layer&) = delete;
    DXF_Layer& operator=(const DXF_Layer&) = delete;

    // Files the entity in the list of its class (made when missing) and gives
    // colour numbers 0 (by block) and 256 (by layer) the layer's colour.
    // Returns the entity, now owned by the layer.
    DXF_Entity* add_entity(std::unique_ptr<DXF_Entity> entity);

    // The list of that class name, or none.
    Entity_List* find_list(std::string_view class_name) const;
    int list_count() const { return static_cast<int>(entity_lists_.size()); }
    const std::vector<std::unique_ptr<Entity_List>>& entity_lists() const { return entity_lists_; }
    const std::vector<std::string>& list_names() const { return list_names_; }
    // Takes out and destroys list `index` and its name. Returns false when
    // afterwards names and lists no longer pair up.
    bool remove_list(std::size_t index);
    int entity_count() const;

    void grow_extents(Point3D& max, Point3D& min) const;

    std::string name;
    // DXF colour number from the LAYER table; 0 when the layer was not there.
    int colour = 0;

private:
    std::vector<std::string> list_names_;
    std::vector<std::unique_ptr<Entity_List>> entity_lists_;
};

} // namespace zeran
