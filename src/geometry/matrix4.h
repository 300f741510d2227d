#pragma once
// Matrix4 (row vectors, row 3 the translation), the matrix builders, the
// arbitrary-axis rule and the block insertion transform.
#include "geometry/point3d.h"

#include <optional>

namespace zeran {

// The image of (x, y, z) is (x, y, z, 1) times the matrix; rows 0 to 2 hold the
// images of the unit axes, row 3 the translation.
struct Matrix4 {
    double m[4][4] = {};
    double* operator[](int row) { return m[row]; }
    const double* operator[](int row) const { return m[row]; }
    friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

inline constexpr Matrix4 IDENTITY{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// c and s are the cosine and sine of the angle; points turn counter-clockwise.
Matrix4 rotation_matrix_z(double c, double s);
Matrix4 scale_matrix(const Point3D& s);
Matrix4 translation_matrix(const Point3D& t);
Matrix4 axes_matrix(const Point3D& ax, const Point3D& ay, const Point3D& az);

// a·b: with row vectors p·(a·b) applies a first, then b.
Matrix4 matrix_multiply(const Matrix4& a, const Matrix4& b);

// The matrix that maps an entity drawn inside `parent`: own first, then parent.
// Either may be absent; only when both exist is the product formed, in
// `storage`, and the result points there. Runs once per entity per redraw,
// so it never allocates.
const Matrix4* compose_matrices(const Matrix4* own, const Matrix4* parent, Matrix4& storage);

Point3D transform_point(const Matrix4& m, const Point3D& p);
// Unchanged when m is absent.
Point3D transform_point(const Matrix4* m, const Point3D& p);

// The object coordinate system of an extrusion direction by the arbitrary-axis
// rule; none for exactly Z_AXIS. The X and Y axes it picks are returned too.
struct OcsAxes {
    Point3D ax;
    Point3D ay;
};
OcsAxes arbitrary_axes(const Point3D& n);
std::optional<Matrix4> ocs_matrix(const Point3D& extrusion);

// Block insertion: rotate about the block origin, scale, move to the insertion
// point, carry into the extrusion's system (rotation before scaling).
Matrix4 insertion_matrix(double rotation_radians, const Point3D& scale, const Point3D& point,
                         const Point3D& extrusion);

} // namespace zeran
