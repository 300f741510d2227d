#pragma once
// Entity_List: the entities of one kind on a layer (owning), or a list made
// for a selection that only refers to entities owned elsewhere.
#include "geometry/entity.h"

#include <memory>
#include <string>
#include <vector>

namespace zeran {

class DXF_Layer;

enum class Ownership : unsigned char { Owns, RefersOnly };

class Entity_List {
public:
    Entity_List(std::string name, DXF_Layer* layer, Ownership ownership = Ownership::Owns);
    ~Entity_List();
    Entity_List(const Entity_List&) = delete;
    Entity_List& operator=(const Entity_List&) = delete;

    // Appends and takes the entity over. A list that refers only cannot
    // own: it answers false and the entity is destroyed.
    bool add(std::unique_ptr<DXF_Entity> entity);
    // For lists that refer only: appends without taking ownership.
    bool add_reference(DXF_Entity* entity);
    // Puts an entity at `index` (clamped to the end); owning lists only.
    bool insert(std::size_t index, std::unique_ptr<DXF_Entity> entity);
    // Takes the entity out (and destroys it when this list owns it); false
    // when it is not in the list.
    bool remove(const DXF_Entity* entity);
    // Takes the entity out and hands it over, without destroying it; empty
    // when it is not in the list or this list does not own it.
    std::unique_ptr<DXF_Entity> release(const DXF_Entity* entity);
    // Empties the list, destroying the entities when owning.
    void clear();

    int count() const { return static_cast<int>(entities_.size()); }
    bool empty() const { return entities_.empty(); }
    DXF_Entity* operator[](std::size_t i) const { return entities_[i]; }
    DXF_Entity* at(std::size_t i) const { return entities_.at(i); }
    // Position of the entity, or -1.
    int index_of(const DXF_Entity* entity) const;
    auto begin() const { return entities_.begin(); }
    auto end() const { return entities_.end(); }
    const std::vector<DXF_Entity*>& entities() const { return entities_; }

    void grow_extents(Point3D& max, Point3D& min) const;

    const std::string& name() const { return name_; }
    DXF_Layer* layer() const { return layer_; }
    bool owns() const { return ownership_ == Ownership::Owns; }

private:
    std::string name_;
    DXF_Layer* layer_;
    Ownership ownership_;
    std::vector<DXF_Entity*> entities_;
};

} // namespace zeran
