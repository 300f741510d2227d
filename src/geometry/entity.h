#pragma once
// DXF_Entity, the base of every drawing entity, with the colour table and
// point_mapper, the callback through which entities reach a canvas.
#include "geometry/canvas.h"
#include "geometry/matrix4.h"
#include "geometry/point3d.h"

#include <array>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace zeran {

class DxfOutput;
class Entity_List;

// A non-owning reference to whatever maps a drawing point (and an optional
// matrix to apply first) to a device point. Cheap to pass by value: it is
// called for every point of every entity on each repaint. The callable must
// outlive the call it is passed to.
class point_mapper {
public:
    template <class F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, point_mapper>)
        point_mapper(F&& f) // NOLINT: implicit on purpose, lambdas pass straight in
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
          call_([](void* o, const Point3D& p, const Matrix4* m) -> DevicePoint {
              return (*static_cast<std::remove_reference_t<F>*>(o))(p, m);
          }) {}

    DevicePoint operator()(const Point3D& p, const Matrix4* m) const {
        return call_(object_, p, m);
    }

private:
    void* object_;
    DevicePoint (*call_)(void*, const Point3D&, const Matrix4*);
};

// DXF colour numbers 0 to 12 as 0x00BBGGRR.
inline constexpr std::array<Colour, 13> colour_table{
    0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0x800080,
    0x000000, 0x008080, 0xFF00FF, 0x808000, 0x808080, 0x808080};

// The table colour of a DXF colour number. A negative number (a layer switched
// off) shows with the colour of its absolute value.
Colour colour_of_index(long long n);

// The entity types a drawing holds. Code that treats a type apart asks the
// kind; the list name stays the data that drawings group entities under.
enum class EntityKind : std::uint8_t {
    Point,
    Line,
    Circle,
    Arc,
    Polyline,
    Face3D,
    Solid,
    PolygonMesh,
    PolyfaceMesh,
    Insert,
    Block,
    Text,
    Attrib,
    Attdef,
};

// "Line_", "Polygon_mesh_": the name of the list that holds entities of a kind.
std::string_view entity_list_name(EntityKind kind);
// Text and the two attribute kinds: words on the drawing, never an outline.
bool is_text_kind(EntityKind kind);

class DXF_Entity {
public:
    virtual ~DXF_Entity();
    DXF_Entity& operator=(const DXF_Entity&) = delete;

    virtual EntityKind kind() const = 0;
    // "Line_", "Polygon_mesh_": the drawing container groups entities by it.
    std::string_view class_name() const { return entity_list_name(kind()); }
    virtual std::unique_ptr<DXF_Entity> clone() const = 0;

    virtual Point3D start_point() const { return ORIGIN; }
    virtual Point3D end_point() const { return ORIGIN; }
    // Builds the object coordinate system by the arbitrary-axis rule; a zero
    // vector has no direction and throws std::domain_error.
    virtual void set_extrusion(const Point3D& n);
    virtual void resolve_blocks(const Entity_List* blocks);
    virtual void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const;
    virtual void draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const;
    virtual void set_colour_index(int n);
    virtual void set_colour(Colour rgb);
    virtual void translate(const Point3D& offset);
    // Snaps coordinates of the axes in `mask` (1 x, 2 y, 4 z) to multiples of 1/factor.
    virtual void quantise(int mask, double factor);
    virtual int count_points() const { return 1; }
    virtual int count_lines() const { return 0; }
    virtual bool is_open() const { return false; }
    virtual bool is_closed() const { return false; }
    // The class name in capitals without the trailing underscore ("LINE").
    virtual std::string dxf_type_name() const;
    virtual void write_point(DxfOutput& out, int base_code, const Point3D& p) const;
    virtual void write_to_dxf(DxfOutput& out, const std::string& layer) const;
    // Lines separated by CR LF.
    virtual std::string describe() const { return {}; }
    virtual void grow_extents(Point3D& max, Point3D& min) const;
    virtual double squared_distance(const Point3D& p) const;
    virtual void nearest_vertex(const Point3D& p, Point3D& v) const;
    virtual bool contains_point(const Point3D& p) const;
    virtual bool move_vertex(const Point3D& old_point, const Point3D& new_point);
    virtual void reverse() { reversed = !reversed; }

    Colour colour() const { return colour_; }
    int colour_index() const { return colour_index_; }
    const Matrix4* ocs() const { return ocs_.get(); }
    const Point3D& extrusion() const { return extrusion_; }

    // Traversed backwards: start and end points swap.
    bool reversed = false;
    // The drawing entity a profile copy was made from; never owned.
    const DXF_Entity* source = nullptr;

protected:
    DXF_Entity() = default;
    DXF_Entity(const DXF_Entity& other);

    // 0 DXF type, 8 layer, 62 colour number, and 210 when there is an ocs.
    void write_common_start(DxfOutput& out, const std::string& layer) const;
    // "OCS Axis (..)" or "WCS".
    std::string ocs_text() const;
    // Sets the pen colour only when the canvas has another one.
    void use_pen(Canvas& canvas) const;
    void set_ocs(std::unique_ptr<Matrix4> m) { ocs_ = std::move(m); }
    void set_extrusion_only(const Point3D& n) { extrusion_ = n; }

private:
    Colour colour_ = 0;
    std::int32_t colour_index_ = 0;
    std::unique_ptr<Matrix4> ocs_;
    Point3D extrusion_ = Z_AXIS;
};

// The cross mark drawn at a vertex: two five-pixel strokes.
void draw_cross(Canvas& canvas, DevicePoint at);

// Rounds half to even without leaving double, so huge values cannot overflow.
double round_half_even(double x);
// c snapped to n / factor, n the nearest integer to c·factor.
double snap(double c, double factor);
// Snaps the axes of p named in mask.
void quantise_point(Point3D& p, int mask, double factor);

// Radians to degrees and back: DXF files carry degrees, entities hold radians.
constexpr double degrees(double rad) {
    return rad * 180.0 / std::numbers::pi;
}
constexpr double radians(double deg) {
    return deg * std::numbers::pi / 180.0;
}

// The CR LF that separates the lines of a description.
inline constexpr std::string_view kLineBreak = "\r\n";

} // namespace zeran
