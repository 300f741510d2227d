#include "geometry/point3d.h"

#include "base/number_text.h"

#include <cmath>

namespace zeran {

Point3D normalise(const Point3D& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

double distance_xy(const Point3D& a, const Point3D& b) {
    return std::sqrt(squared_distance_xy(a, b));
}

void grow_max(Point3D& m, const Point3D& p) {
    if (p.x > m.x) m.x = p.x;
    if (p.y > m.y) m.y = p.y;
    if (p.z > m.z) m.z = p.z;
}

void grow_min(Point3D& m, const Point3D& p) {
    if (p.x < m.x) m.x = p.x;
    if (p.y < m.y) m.y = p.y;
    if (p.z < m.z) m.z = p.z;
}

std::string point_text(const Point3D& p) {
    return "(" + fixed_text(p.x, 7, 2) + ", " + fixed_text(p.y, 7, 2) + ", " +
           fixed_text(p.z, 7, 2) + ")";
}

std::string bool_text(bool b) {
    return b ? "TRUE" : "FALSE";
}

} // namespace zeran
