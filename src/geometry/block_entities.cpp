#include "geometry/block_entities.h"

#include "base/number_text.h"
#include "geometry/dxf_output.h"
#include "geometry/entity_list.h"

namespace zeran {

BlockNotFoundError::BlockNotFoundError(const std::string& block_name)
    : std::runtime_error("Block reference " + block_name + " not found") {}

TooManyAttribsError::TooManyAttribsError()
    : std::runtime_error("This version only handles 16 ATTRIBs") {}

namespace {

// A block that inserts itself, directly or through others, would otherwise
// recurse until the stack runs out; deeper nesting than this is not drawn.
constexpr int kMaxInsertNesting = 32;
thread_local int insert_nesting = 0;

class NestingGuard {
public:
    NestingGuard() { ++insert_nesting; }
    ~NestingGuard() { --insert_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    bool too_deep() const { return insert_nesting > kMaxInsertNesting; }
};

} // namespace

// ---- Insert_

Insert_::Insert_(const Point3D& extrusion, std::string name,
                 std::vector<std::unique_ptr<Attrib_>> attributes, int colour_index,
                 double rotation_degrees, const Point3D& s, const Point3D& insertion_point)
    : Point_(extrusion, colour_index, insertion_point), block_name(std::move(name)), scale(s),
      rotation(radians(rotation_degrees)), attributes_(std::move(attributes)) {
    if (attributes_.size() > kMaxAttribs) throw TooManyAttribsError();
    set_extrusion(extrusion);
}

Insert_::Insert_(const Insert_& other)
    : Point_(other), block_name(other.block_name), scale(other.scale), rotation(other.rotation),
      block_list_(other.block_list_), block_(other.block_) {
    attributes_.reserve(other.attributes_.size());
    for (const auto& a : other.attributes_) attributes_.push_back(std::make_unique<Attrib_>(*a));
}

std::unique_ptr<DXF_Entity> Insert_::clone() const {
    return std::make_unique<Insert_>(*this);
}

void Insert_::set_extrusion(const Point3D& n) {
    if (n == ORIGIN) throw std::domain_error("Extrusion direction is a zero vector");
    set_extrusion_only(n);
    set_ocs(std::make_unique<Matrix4>(insertion_matrix(rotation, scale, point, n)));
}

void Insert_::resolve_blocks(const Entity_List* blocks) {
    block_list_ = blocks;
    if (!block_name.empty()) block();
}

const Block_* Insert_::find_block() const {
    if (block_ || !block_list_) return block_;
    for (const DXF_Entity* e : *block_list_) {
        auto* b = dynamic_cast<const Block_*>(e);
        if (b && b->name == block_name) {
            block_ = b;
            break;
        }
    }
    return block_;
}

const Block_& Insert_::block() const {
    if (const Block_* b = find_block()) return *b;
    throw BlockNotFoundError(block_name);
}

void Insert_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    NestingGuard guard;
    if (guard.too_deep()) return;
    Matrix4 storage;
    const Matrix4* m = compose_matrices(ocs(), parent, storage);
    for (const auto& a : attributes_) a->draw(canvas, m, map);
    if (block_name.empty()) return;
    // Drawing runs inside the window's repaint, where an exception would end
    // the program: a missing block is simply not drawn.
    if (const Block_* b = find_block()) b->draw(canvas, m, map);
}

void Insert_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    Point_::write_to_dxf(out, layer);
    if (!block_name.empty()) out.text(2, block_name);
    if (scale.x != 1.0 || scale.y != 1.0 || scale.z != 1.0) {
        out.real(41, scale.x);
        out.real(42, scale.y);
        out.real(43, scale.z);
    }
    if (rotation != 0.0) out.real(50, degrees(rotation));
    if (attributes_.empty()) {
        out.integer(66, 0);
        return;
    }
    out.integer(66, 1);
    for (const auto& a : attributes_) a->write_to_dxf(out, layer);
    out.text(0, "SEQEND");
}

std::string Insert_::describe() const {
    NestingGuard guard;
    std::string s = Point_::describe();
    for (const std::string& line : {"Block \t" + block_name, "Scaling\t" + point_text(scale),
                                    "Rotation\t" + fixed3_text(degrees(rotation)),
                                    "Attribs \t" + int_text(attribute_count())}) {
        s += kLineBreak;
        s += line;
    }
    for (std::size_t i = 0; i < attributes_.size(); ++i) {
        s += kLineBreak;
        s += kLineBreak;
        s += int_text(static_cast<long long>(i) + 1) + " : " + attributes_[i]->describe();
    }
    if (block_name.empty() || guard.too_deep()) return s;
    s += kLineBreak;
    s += kLineBreak;
    s += "----BLOCK-----";
    s += kLineBreak;
    const Block_* b = find_block();
    s += b ? b->describe() : BlockNotFoundError(block_name).what();
    s += kLineBreak;
    s += "---ENDBLOCK---";
    return s;
}

// ---- Block_

Block_::Block_(std::string n, const Point3D& base) : name(std::move(n)), base_point(base) {
    if (base != ORIGIN) set_ocs(std::make_unique<Matrix4>(translation_matrix(ORIGIN - base)));
}

Block_::Block_(const Block_& other)
    : DXF_Entity(other), name(other.name), base_point(other.base_point) {
    entities.reserve(other.entities.size());
    for (const auto& e : other.entities) entities.push_back(e->clone());
}

std::unique_ptr<DXF_Entity> Block_::clone() const {
    return std::make_unique<Block_>(*this);
}

void Block_::resolve_blocks(const Entity_List* blocks) {
    for (const auto& e : entities)
        if (dynamic_cast<Insert_*>(e.get())) e->resolve_blocks(blocks);
}

void Block_::draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    Matrix4 storage;
    const Matrix4* m = compose_matrices(ocs(), parent, storage);
    for (const auto& e : entities) e->draw(canvas, m, map);
}

void Block_::draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const {
    for (const auto& e : entities) e->draw_vertices(canvas, parent, map);
}

void Block_::write_to_dxf(DxfOutput& out, const std::string& layer) const {
    out.text(0, "BLOCK");
    out.text(8, layer);
    out.text(2, name);
    write_point(out, 10, base_point);
    for (const auto& e : entities) e->write_to_dxf(out, layer);
    out.text(0, "ENDBLK");
}

std::string Block_::describe() const {
    std::string s = "Name :\t" + name;
    s += kLineBreak;
    s += "Base :\t" + point_text(base_point);
    s += kLineBreak;
    for (const auto& e : entities) {
        s += kLineBreak;
        s += e->describe();
    }
    return s;
}

} // namespace zeran
