// The entity half of DXF_Reader: collecting groups and making entities.
#include "dxf/curve_entities.h"
#include "dxf/dxf_read_exception.h"
#include "dxf/dxf_reader.h"
#include "geometry/block_entities.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/text_entities.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace zeran {

// Scaled first, so that huge components cannot overflow to infinity.
Point3D unit_extrusion(const Point3D& e) {
    const double big = std::max({std::fabs(e.x), std::fabs(e.y), std::fabs(e.z)});
    if (big == 0.0 || !std::isfinite(big))
        throw std::domain_error("Extrusion direction of zero length");
    const Point3D s{e.x / big, e.y / big, e.z / big};
    const double length = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
    return {s.x / length, s.y / length, s.z / length};
}

namespace {

// Group 71..74 of a polyface face record: a corner index counted from 0,
// -1 when the group is missing (0).
std::int32_t face_index(int group) {
    return static_cast<std::int32_t>(std::llabs(static_cast<long long>(group)) - 1);
}

} // namespace

DXF_Reader::Kind DXF_Reader::kind_of(std::string_view type) const {
    if (type == "LINE") return Kind::Line;
    if (type == "ARC") return Kind::Arc;
    if (type == "CIRCLE") return Kind::Circle;
    if (type == "POLYLINE") return Kind::Polyline;
    if (type == "POINT") return Kind::Point;
    if (type == "TEXT") return Kind::Text;
    if (type == "INSERT") return Kind::Insert;
    if (type == "ATTRIB") return Kind::Attrib;
    if (type == "ATTDEF") return Kind::Attdef;
    if (type == "3DFACE") return Kind::Face3D;
    if (type == "SOLID") return Kind::Solid;
    if (curve_reading_ == CurveReading::Arcs) {
        if (type == "LWPOLYLINE") return Kind::LwPolyline;
        if (type == "SPLINE") return Kind::Spline;
        if (type == "ELLIPSE") return Kind::Ellipse;
    }
    return Kind::Other;
}

void DXF_Reader::skip_entity(std::string_view type) {
    skip(type);
    count_skipped(skipped_entities_, type);
}

void DXF_Reader::fail(std::string_view type) const {
    throw DXF_read_exception("Error reading " + std::string(type) + " entity",
                             groups_.line_number());
}

DXF_Layer* DXF_Reader::append_layer(std::string_view name) {
    layers_.push_back(std::make_unique<DXF_Layer>(std::string(name)));
    DXF_Layer* layer = layers_.back().get();
    layer_index_.try_emplace(std::string(name), layer); // the first of a name is found
    return layer;
}

DXF_Layer* DXF_Reader::layer_named(std::string_view name) {
    if (last_layer_ && last_layer_->name == name) return last_layer_;
    const auto it = layer_index_.find(std::string(name));
    last_layer_ = it != layer_index_.end() ? it->second : append_layer(name);
    return last_layer_;
}

void DXF_Reader::store(abstract_entity& e, int code) {
    switch (code) {
    case 1:
        e.text = groups_.value();
        break;
    case 2:
        e.name = groups_.value();
        break;
    case 3:
        e.prompt = groups_.value();
        break;
    case 8:
        e.layer = groups_.value();
        break;
    case 10:
    case 11:
    case 12:
    case 13:
        e.points[code - 10].x = groups_.real();
        break;
    case 20:
    case 21:
    case 22:
    case 23:
        e.points[code - 20].y = groups_.real();
        break;
    case 30:
    case 31:
    case 32:
    case 33:
        e.points[code - 30].z = groups_.real();
        break;
    case 38:
        e.elevation = groups_.real();
        break;
    case 39:
        e.thickness = groups_.real();
        break;
    case 40:
        e.height = groups_.real();
        break;
    case 41:
        e.scale.x = groups_.real();
        break;
    case 42:
        e.scale.y = groups_.real();
        break;
    case 43:
        e.scale.z = groups_.real();
        break;
    case 50:
        e.angle1 = groups_.real();
        break;
    case 51:
        e.angle2 = groups_.real();
        break;
    case 62:
        e.colour = groups_.integer();
        break;
    case 66:
        e.follow = groups_.integer();
        break;
    case 70:
        e.flags = groups_.integer();
        break;
    case 71:
    case 72:
    case 73:
    case 74:
        e.integers[code - 71] = groups_.integer();
        break;
    case 210:
        e.extrusion.x = groups_.real();
        break;
    case 220:
        e.extrusion.y = groups_.real();
        break;
    case 230:
        e.extrusion.z = groups_.real();
        break;
    default:
        break;
    }
}

bool DXF_Reader::collect(abstract_entity& e, OwnLayer own_layer) {
    for (;;) {
        const int code = groups_.next();
        if (code < 0) return false;
        if (code == 0) break;
        store(e, code);
    }
    groups_.push_back();
    if (!(e.extrusion == Z_AXIS)) e.extrusion = unit_extrusion(e.extrusion);
    if (own_layer == OwnLayer::Yes) layer_named(e.layer);
    return true;
}

void DXF_Reader::read_entity(Kind kind, DXF_Layer*& layer, Made& made) {
    std::unique_ptr<DXF_Entity> one;
    switch (kind) {
    case Kind::Insert:
        one = read_insert(layer);
        break;
    case Kind::Polyline:
        one = read_polyline(layer, made);
        break;
    case Kind::LwPolyline:
        read_lwpolyline(layer, made);
        break;
    case Kind::Spline:
        read_spline(layer, made);
        break;
    case Kind::Ellipse:
        read_ellipse(layer, made);
        break;
    case Kind::Point:
    case Kind::Line:
    case Kind::Circle:
    case Kind::Arc:
    case Kind::Text:
    case Kind::Attrib:
    case Kind::Attdef:
    case Kind::Face3D:
    case Kind::Solid:
        one = read_simple(kind, layer);
        break;
    case Kind::Other:
        break;
    }
    if (one) made.push_back(std::move(one));
}

std::unique_ptr<DXF_Entity> DXF_Reader::read_simple(Kind kind, DXF_Layer*& layer) {
    static constexpr std::string_view names[] = {"POINT", "LINE",   "CIRCLE",  "ARC",
                                                 "TEXT",  "ATTRIB", "ATTDEF",  "3DFACE",
                                                 "SOLID", "INSERT", "POLYLINE"};
    abstract_entity& e = collector_;
    e.reset();
    if (!collect(e)) fail(names[static_cast<int>(kind)]);
    layer = last_layer_;
    const auto& p = e.points;
    const int justification = e.integers[1];
    switch (kind) {
    case Kind::Point:
        return std::make_unique<Point_>(e.extrusion, e.colour, p[0]);
    case Kind::Line:
        return std::make_unique<Line_>(p[0], e.colour, p[1]);
    case Kind::Circle:
        return std::make_unique<Circle_>(e.extrusion, e.colour, e.height, p[0]);
    case Kind::Arc:
        return std::make_unique<Arc_>(e.extrusion, e.colour, e.angle1, e.angle2, e.height, p[0]);
    case Kind::Text:
        return std::make_unique<Text_>(e.extrusion, justification, e.colour, e.height, e.text, p[1],
                                       p[0]);
    case Kind::Attrib:
        return std::make_unique<Attrib_>(e.extrusion, e.colour, e.height, justification, e.flags,
                                         e.text, e.name, p[1], p[0]);
    case Kind::Attdef:
        return std::make_unique<Attdef_>(e.extrusion, e.colour, e.height, justification, e.flags,
                                         e.prompt, e.text, e.name, p[1], p[0]);
    case Kind::Face3D:
    case Kind::Solid: {
        const std::size_t corners = p[2] == p[3] ? 3 : 4;
        std::vector<Point3D> v(p.begin(), p.begin() + corners);
        if (kind == Kind::Face3D) return std::make_unique<Face3D_>(e.colour, std::move(v));
        return std::make_unique<Solid_>(e.extrusion, e.thickness, e.colour, std::move(v));
    }
    case Kind::Insert:
    case Kind::Polyline:
    case Kind::LwPolyline:
    case Kind::Spline:
    case Kind::Ellipse:
    case Kind::Other:
        break;
    }
    return nullptr;
}

const Entity_List* DXF_Reader::block_list() const {
    for (const auto& layer : layers_)
        if (const Entity_List* list = layer->find_list("Block_")) return list;
    return nullptr;
}

std::unique_ptr<DXF_Entity> DXF_Reader::read_insert(DXF_Layer*& layer) {
    abstract_entity e;
    if (!collect(e)) fail("INSERT");
    layer = last_layer_;
    std::vector<std::unique_ptr<Attrib_>> attributes;
    bool too_many = false;
    if (e.follow == 1) {
        abstract_entity a;
        for (;;) {
            if (groups_.next() < 0) fail("INSERT");
            if (groups_.value_is("SEQEND")) break;
            if (!groups_.value_is("ATTRIB")) {
                groups_.push_back(); // not ours: read it as an entity of its own
                fail("INSERT");
            }
            a.reset();
            if (!collect(a)) fail("INSERT");
            if (attributes.size() >= kMaxAttribs) {
                too_many = true; // keep reading to SEQEND, but hold no more
                continue;
            }
            attributes.push_back(std::make_unique<Attrib_>(a.extrusion, a.colour, a.height,
                                                           a.integers[1], a.flags, a.text, a.name,
                                                           a.points[1], a.points[0]));
        }
    }
    if (too_many) throw TooManyAttribsError();
    for (double* s : {&e.scale.x, &e.scale.y, &e.scale.z})
        if (*s == 0.0) *s = 1.0;
    auto insert = std::make_unique<Insert_>(e.extrusion, e.name, std::move(attributes), e.colour,
                                            e.angle1, e.scale, e.points[0]);
    const Entity_List* blocks = block_list();
    if (!blocks) throw DXF_read_exception(std::string(kUndefinedBlock), groups_.line_number());
    const Block_* target = nullptr;
    if (!insert->block_name.empty()) {
        for (const DXF_Entity* entity : *blocks) {
            const auto* b = dynamic_cast<const Block_*>(entity);
            if (b && b->name == insert->block_name) {
                target = b;
                break;
            }
        }
        // A block is defined once its definition ends: one cannot place itself.
        if (!target || target == current_block_)
            throw DXF_read_exception(std::string(kUndefinedBlock), groups_.line_number());
    }
    if (current_block_ && target) {
        BlockCost& outer = block_cost_[current_block_];
        const BlockCost inner = block_cost_[target];
        outer.depth = std::max(outer.depth, inner.depth + 1);
        outer.inserts += inner.inserts + 1;
        if (outer.depth > kMaxBlockNesting || outer.inserts > kMaxExpandedInserts)
            throw DXF_read_exception("Error reading INSERT entity", groups_.line_number());
    }
    try {
        insert->resolve_blocks(blocks);
    } catch (const BlockNotFoundError&) {
        throw DXF_read_exception(std::string(kUndefinedBlock), groups_.line_number());
    }
    return insert;
}

std::unique_ptr<DXF_Entity> DXF_Reader::read_polyline(DXF_Layer*& layer, Made& made) {
    abstract_entity h;
    if (!collect(h)) fail("POLYLINE");
    layer = last_layer_;
    const bool polygon_mesh = (h.flags & 16) != 0;
    const bool polyface_mesh = !polygon_mesh && (h.flags & 64) != 0;
    std::vector<Point3D> vertices;
    std::vector<double> bulges;
    std::vector<PolyfaceFace> faces;
    abstract_entity& v = collector_; // the meshes keep it between vertices
    v.reset();
    for (;;) {
        const int code = groups_.next();
        // Ending before SEQEND, at the end of the file or of the section, fails.
        if (code < 0) fail("POLYLINE");
        if (code != 0) continue;
        if (groups_.value_is("SEQEND")) break;
        if (groups_.value_is("ENDSEC") || groups_.value_is("ENDBLK")) {
            groups_.push_back();
            fail("POLYLINE");
        }
        if (!groups_.value_is("VERTEX")) continue;
        if (!polygon_mesh && !polyface_mesh) v.reset();
        if (!collect(v, OwnLayer::No)) fail("POLYLINE");
        if (polygon_mesh && !(v.flags & 64)) fail("POLYLINE");
        if (polyface_mesh) {
            if (!(v.flags & 128)) fail("POLYLINE");
            if (!(v.flags & 64)) {
                if (static_cast<int>(faces.size()) >= kMaxPolyfaceFaces)
                    throw std::length_error("Polyface mesh contained more than 4096 faces");
                faces.push_back({face_index(v.integers[0]), face_index(v.integers[1]),
                                 face_index(v.integers[2]), face_index(v.integers[3])});
                continue;
            }
        }
        if (static_cast<int>(vertices.size()) >= kMaxPolylineVertices)
            throw DXF_read_exception("Polyline contained more than 8192 vertices",
                                     groups_.line_number());
        vertices.push_back(v.points[0]);
        bulges.push_back(v.scale.y); // group 42
    }
    if (polygon_mesh) {
        const long long m = h.integers[0];
        const long long n = h.integers[1];
        if (m * n != static_cast<long long>(vertices.size())) return nullptr;
        return std::make_unique<Polygon_mesh_>(h.colour, h.flags, std::move(vertices),
                                               static_cast<int>(n), static_cast<int>(m));
    }
    if (polyface_mesh) {
        // A corner outside the mesh would be drawn from memory that is not there.
        for (const PolyfaceFace& f : faces)
            for (const std::int32_t i : f)
                if (i >= static_cast<std::int32_t>(vertices.size())) fail("POLYLINE");
        return std::make_unique<Polyface_mesh_>(h.colour, std::move(faces), std::move(vertices));
    }
    if (vertices.empty()) throw std::length_error("Polyline without vertices");
    // 3D polylines (flag 8) have no bulges.
    const bool bulged =
        std::any_of(bulges.begin(), bulges.end(), [](double b) { return b != 0.0; });
    if (curve_reading_ == CurveReading::Arcs && bulged && !(h.flags & 8)) {
        const double elevation = vertices.front().z;
        add_chain_entities(bulged_polyline_pieces(vertices, bulges, (h.flags & 1) != 0),
                           h.extrusion, elevation, h.colour, made);
        return nullptr;
    }
    return std::make_unique<Polyline_>(h.extrusion, (h.flags & 1) ? Closed::Yes : Closed::No,
                                       h.colour, std::move(vertices));
}

bool DXF_Reader::read_block_definition() {
    abstract_entity h;
    if (!collect(h)) return false;
    DXF_Layer* zero = layer_named("0");
    auto owned = std::make_unique<Block_>(h.name, h.points[0]);
    Block_* block = owned.get();
    zero->add_entity(std::move(owned));
    current_block_ = block;
    struct Leave {
        Block_*& b;
        ~Leave() { b = nullptr; }
    } leave{current_block_};
    for (;;) {
        const int code = groups_.next();
        if (code < 0) return false;
        if (code != 0) continue;
        if (groups_.value_is("ENDBLK")) return true;
        const Kind kind = kind_of(groups_.value());
        if (kind == Kind::Other) {
            skip_entity(groups_.value());
            continue;
        }
        DXF_Layer* layer = nullptr;
        Made made;
        read_entity(kind, layer, made);
        for (auto& entity : made) block->add(std::move(entity));
    }
}

} // namespace zeran
