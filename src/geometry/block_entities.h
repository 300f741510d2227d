#pragma once
// Block definitions and block insertions: Block_ and Insert_, with the
// errors their lookups raise.
#include "geometry/point_entities.h"
#include "geometry/text_entities.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace zeran {

class Block_;

// "Block reference NAME not found".
class BlockNotFoundError : public std::runtime_error {
public:
    explicit BlockNotFoundError(const std::string& block_name);
};

// "This version only handles 16 ATTRIBs".
class TooManyAttribsError : public std::runtime_error {
public:
    TooManyAttribsError();
};

inline constexpr std::size_t kMaxAttribs = 16;

// Places a block with its own rotation, scale, position and extrusion. Its
// ocs always exists and holds the whole insertion transform.
class Insert_ : public Point_ {
public:
    // Rotation in degrees; more than kMaxAttribs attributes throw TooManyAttribsError.
    Insert_(const Point3D& extrusion, std::string block_name,
            std::vector<std::unique_ptr<Attrib_>> attributes, int colour_index,
            double rotation_degrees, const Point3D& scale, const Point3D& insertion_point);
    Insert_(const Insert_& other);

    EntityKind kind() const override { return EntityKind::Insert; }
    std::unique_ptr<DXF_Entity> clone() const override;

    // Builds the insertion matrix.
    void set_extrusion(const Point3D& n) override;
    // Remembers the list and, for a named block, looks it up at once
    // (throws BlockNotFoundError).
    void resolve_blocks(const Entity_List* blocks) override;
    // A block that cannot be found is left out.
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;

    // The block placed, looked up on first use (first of that exact name);
    // throws BlockNotFoundError.
    const Block_& block() const;
    // The same lookup, answering none instead of throwing.
    const Block_* find_block() const;
    const std::vector<std::unique_ptr<Attrib_>>& attributes() const { return attributes_; }
    int attribute_count() const { return static_cast<int>(attributes_.size()); }
    const Entity_List* block_list() const { return block_list_; }

    std::string block_name;
    Point3D scale{1.0, 1.0, 1.0};
    double rotation = 0.0; // radians

private:
    std::vector<std::unique_ptr<Attrib_>> attributes_;
    const Entity_List* block_list_ = nullptr;
    mutable const Block_* block_ = nullptr;
};

// A named list of entities with a base point; its ocs, when the base point is
// not the origin, moves the base point to the origin.
class Block_ : public DXF_Entity {
public:
    Block_(std::string name, const Point3D& base_point);
    Block_(const Block_& other);

    EntityKind kind() const override { return EntityKind::Block; }
    std::unique_ptr<DXF_Entity> clone() const override;

    void resolve_blocks(const Entity_List* blocks) override;
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;
    double squared_distance(const Point3D&) const override { return 1e9; }
    void nearest_vertex(const Point3D&, Point3D& v) const override { v = {1e9, 1e9, 1e9}; }

    void add(std::unique_ptr<DXF_Entity> entity) { entities.push_back(std::move(entity)); }

    std::string name;
    Point3D base_point;
    std::vector<std::unique_ptr<DXF_Entity>> entities;
};

} // namespace zeran
