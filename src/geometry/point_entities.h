#pragma once
// The point family of drawing entities: Point_, Line_, Circle_ and Arc_.
// Profiles are built from Line_ and Arc_ (and Polyline_, polyline.h).
#include "geometry/entity.h"

namespace zeran {

class Point_ : public DXF_Entity {
public:
    Point_(const Point3D& extrusion, int colour_index, const Point3D& point);

    EntityKind kind() const override { return EntityKind::Point; }
    std::unique_ptr<DXF_Entity> clone() const override;

    Point3D start_point() const override { return point; }
    Point3D end_point() const override { return point; }
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void translate(const Point3D& offset) override;
    void quantise(int mask, double factor) override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;
    void grow_extents(Point3D& max, Point3D& min) const override;
    double squared_distance(const Point3D& p) const override;
    void nearest_vertex(const Point3D& p, Point3D& v) const override;
    bool move_vertex(const Point3D& old_point, const Point3D& new_point) override;

    // The defining point: first end of a line, centre of a circle or arc,
    // insertion point of a text or block insertion.
    Point3D point;
};

// A straight segment; it never has an object coordinate system.
class Line_ : public Point_ {
public:
    Line_(const Point3D& first, int colour_index, const Point3D& second);

    EntityKind kind() const override { return EntityKind::Line; }
    std::unique_ptr<DXF_Entity> clone() const override;

    Point3D start_point() const override { return reversed ? end : point; }
    Point3D end_point() const override { return reversed ? point : end; }
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void draw_vertices(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void translate(const Point3D& offset) override;
    void quantise(int mask, double factor) override;
    int count_points() const override { return 2; }
    int count_lines() const override { return 1; }
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;
    void grow_extents(Point3D& max, Point3D& min) const override;
    double squared_distance(const Point3D& p) const override;
    void nearest_vertex(const Point3D& p, Point3D& v) const override;
    bool move_vertex(const Point3D& old_point, const Point3D& new_point) override;

    Point3D end;
};

class Circle_ : public Point_ {
public:
    Circle_(const Point3D& extrusion, int colour_index, double radius, const Point3D& centre);

    EntityKind kind() const override { return EntityKind::Circle; }
    std::unique_ptr<DXF_Entity> clone() const override;

    // The lowest point of the circle either way round.
    Point3D start_point() const override;
    Point3D end_point() const override { return start_point(); }
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;
    void grow_extents(Point3D& max, Point3D& min) const override;
    bool contains_point(const Point3D& p) const override;

    double radius = 0.0;

protected:
    // The device box of the circle; false when it is no more than a pixel wide
    // or high, and then top_left is the single pixel to set.
    bool device_box(const Matrix4* m, point_mapper map, DevicePoint& top_left,
                    DevicePoint& bottom_right) const;
};

// Runs counter-clockwise from start_angle to end_angle (radians) in its own
// coordinate system.
class Arc_ : public Circle_ {
public:
    // Angles in degrees, as the DXF file carries them.
    Arc_(const Point3D& extrusion, int colour_index, double start_degrees, double end_degrees,
         double radius, const Point3D& centre);

    EntityKind kind() const override { return EntityKind::Arc; }
    std::unique_ptr<DXF_Entity> clone() const override;

    Point3D start_point() const override;
    Point3D end_point() const override;
    void draw(Canvas& canvas, const Matrix4* parent, point_mapper map) const override;
    void write_to_dxf(DxfOutput& out, const std::string& layer) const override;
    std::string describe() const override;
    void grow_extents(Point3D& max, Point3D& min) const override;
    bool contains_point(const Point3D&) const override { return false; }

    // The point at an angle (radians) on the arc's circle, z = 0.
    Point3D point_at(double angle) const;

    double start_angle = 0.0;
    double end_angle = 0.0;
    // A segment of a polyline or a piece of a curve made into arcs. It is
    // written as a one-segment LWPOLYLINE (ends and bulge) whenever its ends
    // stay apart at the writer's precision: its ends then keep exactly the
    // places they share with the neighbouring pieces, where rounded ARC angles
    // would move them by up to radius times the rounding.
    bool polyline_piece = false;

private:
    bool write_as_bulge_segment(DxfOutput& out, const std::string& layer) const;
};

} // namespace zeran
