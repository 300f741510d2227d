#include "geometry/matrix4.h"

#include <cmath>

namespace zeran {

Matrix4 rotation_matrix_z(double c, double s) {
    Matrix4 r = IDENTITY;
    r[0][0] = c;
    r[0][1] = s;
    r[1][0] = -s;
    r[1][1] = c;
    return r;
}

Matrix4 scale_matrix(const Point3D& s) {
    Matrix4 r = IDENTITY;
    r[0][0] = s.x;
    r[1][1] = s.y;
    r[2][2] = s.z;
    return r;
}

Matrix4 translation_matrix(const Point3D& t) {
    Matrix4 r = IDENTITY;
    r[3][0] = t.x;
    r[3][1] = t.y;
    r[3][2] = t.z;
    return r;
}

Matrix4 axes_matrix(const Point3D& ax, const Point3D& ay, const Point3D& az) {
    Matrix4 r = IDENTITY;
    const Point3D* rows[3] = {&ax, &ay, &az};
    for (int i = 0; i < 3; ++i) {
        r[i][0] = rows[i]->x;
        r[i][1] = rows[i]->y;
        r[i][2] = rows[i]->z;
    }
    return r;
}

Matrix4 matrix_multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a[i][k] * b[k][j];
            r[i][j] = sum;
        }
    return r;
}

const Matrix4* compose_matrices(const Matrix4* own, const Matrix4* parent, Matrix4& storage) {
    if (parent == nullptr) return own;
    if (own == nullptr) return parent;
    storage = matrix_multiply(*own, *parent);
    return &storage;
}

Point3D transform_point(const Matrix4& m, const Point3D& p) {
    return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
            p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
            p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
}

Point3D transform_point(const Matrix4* m, const Point3D& p) {
    return m ? transform_point(*m, p) : p;
}

OcsAxes arbitrary_axes(const Point3D& n) {
    if (n == Z_AXIS) return {{1, 0, 0}, {0, 1, 0}};
    constexpr double limit = 1.0 / 64.0;
    Point3D ax = std::fabs(n.x) < limit && std::fabs(n.y) < limit
                     ? normalise(cross_product(Y_AXIS, n))
                     : normalise(cross_product(Z_AXIS, n));
    Point3D ay = normalise(cross_product(n, ax));
    return {ax, ay};
}

std::optional<Matrix4> ocs_matrix(const Point3D& extrusion) {
    if (extrusion == Z_AXIS) return std::nullopt;
    OcsAxes a = arbitrary_axes(extrusion);
    return axes_matrix(a.ax, a.ay, extrusion);
}

Matrix4 insertion_matrix(double rotation_radians, const Point3D& scale, const Point3D& point,
                         const Point3D& extrusion) {
    OcsAxes a = arbitrary_axes(extrusion);
    Matrix4 m = matrix_multiply(
        IDENTITY, rotation_matrix_z(std::cos(rotation_radians), std::sin(rotation_radians)));
    m = matrix_multiply(m, scale_matrix(scale));
    m = matrix_multiply(m, translation_matrix(point));
    return matrix_multiply(m, axes_matrix(a.ax, a.ay, extrusion));
}

} // namespace zeran
