#pragma once
// Polyline_ and the kinds built on it: Face3D_, Solid_, Polygon_mesh_ and
// Polyface_mesh_.
#include "geometry/entity.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zeran {

// The most vertices a polyline holds (the reader refuses more) and draws.
inline constexpr int kMaxPolylineVertices = 8192;

enum class Closed : unsigned char { No = 0, Yes = 1 };

// Straight-segment corners; no bulges.
class Polyline_ : public DXF_Entity {
public:
    // Created open, a polyline whose last vertex repeats the first becomes
    // closed and drops the repeat.
    Polyline_(const Point3D& extrusion, Closed closed, int colour_index,
              std::vector<Point3D> vertices);

    EntityKind kind() const override { return EntityKind::Polyline; }
    std::unique_ptr<DXF_Entity> clone() const override;

    Point3D start_point() const override;
    Point3D end_point() const override;
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void translate(const Point3D& offset) override;
    void quantise(int mask, double factor) override;
    int count_points() const override { return vertex_count(); }
    int count_lines() const override { return vertex_count(); }
    bool is_open() const override { return !closed; }
    bool is_closed() const override { return closed; }
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;
    void grow_extents(Point3D& max, Point3D& min) const override;
    double squared_distance(const Point3D& p) const override;
    void nearest_vertex(const Point3D& p, Point3D& v) const override;
    // Even-odd rule; an open polyline contains nothing.
    bool contains_point(const Point3D& p) const override;
    bool move_vertex(const Point3D& old_point, const Point3D& new_point) override;

    int vertex_count() const { return static_cast<int>(vertices.size()); }

    bool closed = false;
    std::vector<Point3D> vertices;

protected:
    struct KeepAllVertices {};
    // Stores the vertices as given, without the closing rule.
    Polyline_(KeepAllVertices, Closed closed, int colour_index, std::vector<Point3D> vertices);

    // Every vertex mapped, at most kMaxPolylineVertices of them.
    std::vector<DevicePoint> map_vertices(const Matrix4* m, point_mapper map) const;
    // Class name, OCS line and "Closed"/"Open".
    std::string describe_head(std::string_view title) const;
};

// A closed polyline of 3 or 4 corners in world coordinates.
class Face3D_ : public Polyline_ {
public:
    Face3D_(int colour_index, std::vector<Point3D> vertices);

    EntityKind kind() const override { return EntityKind::Face3D; }
    std::unique_ptr<DXF_Entity> clone() const override;
    std::string dxf_type_name() const override { return "3DFACE"; }
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;

protected:
    // The corner groups 10..13 and, for a solid, the ocs.
    void write_face(DxfOutput& out, const std::string& layer, bool with_ocs) const;
};

class Solid_ : public Face3D_ {
public:
    Solid_(const Point3D& extrusion, double thickness, int colour_index,
           std::vector<Point3D> vertices);

    EntityKind kind() const override { return EntityKind::Solid; }
    std::unique_ptr<DXF_Entity> clone() const override;
    std::string dxf_type_name() const override { return "SOLID"; }
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;

    double thickness = 0.0;
};

// M rows of N vertices, row after row.
class Polygon_mesh_ : public Polyline_ {
public:
    // flags: DXF group 70; bit 1 closed in M, bit 32 closed in N.
    Polygon_mesh_(int colour_index, int flags, std::vector<Point3D> vertices, int n, int m);

    EntityKind kind() const override { return EntityKind::PolygonMesh; }
    std::unique_ptr<DXF_Entity> clone() const override;
    std::string dxf_type_name() const override { return "POLYLINE"; }
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;

    std::int32_t m = 0;
    std::int32_t n = 0;
    bool closed_m = false;
    bool closed_n = false;
};

// Corner indices from 0; a negative index ends the face early.
using PolyfaceFace = std::array<std::int32_t, 4>;

class Polyface_mesh_ : public Polyline_ {
public:
    Polyface_mesh_(int colour_index, std::vector<PolyfaceFace> faces,
                   std::vector<Point3D> vertices);

    EntityKind kind() const override { return EntityKind::PolyfaceMesh; }
    std::unique_ptr<DXF_Entity> clone() const override;
    std::string dxf_type_name() const override { return "POLYLINE"; }
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;

    int face_count() const { return static_cast<int>(faces.size()); }

    std::vector<PolyfaceFace> faces;
};

} // namespace zeran
