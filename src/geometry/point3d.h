#pragma once
// Point3D and Point2D, the three constant points, the vector operations the
// entities use to place, measure and bound themselves, and their text forms.
#include <string>

namespace zeran {

// Drawing units, as the DXF file gives them; used both as point and as vector.
struct Point3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    // Exact comparison: there is no tolerance anywhere in the drawing model.
    friend bool operator==(const Point3D&, const Point3D&) = default;
};

struct Point2D {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const Point2D&, const Point2D&) = default;
};

inline constexpr Point3D ORIGIN{0.0, 0.0, 0.0};
inline constexpr Point3D Y_AXIS{0.0, 1.0, 0.0};
inline constexpr Point3D Z_AXIS{0.0, 0.0, 1.0};

constexpr Point3D make_point(double x, double y, double z) {
    return {x, y, z};
}
constexpr Point2D make_point_2d(double x, double y) {
    return {x, y};
}

constexpr bool points_equal(const Point3D& a, const Point3D& b) {
    return a == b;
}

constexpr Point3D point_subtract(const Point3D& a, const Point3D& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr Point3D point_add(const Point3D& a, const Point3D& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
constexpr Point3D operator+(const Point3D& a, const Point3D& b) {
    return point_add(a, b);
}
constexpr Point3D operator-(const Point3D& a, const Point3D& b) {
    return point_subtract(a, b);
}
constexpr Point3D operator*(const Point3D& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}

constexpr Point3D cross_product(const Point3D& a, const Point3D& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Length 1 in the direction of v. A zero vector has no direction: the result
// is then not finite, and callers that can meet one must check first.
Point3D normalise(const Point3D& v);

// Distances in the drawing plane; z is ignored.
double distance_xy(const Point3D& a, const Point3D& b);
constexpr double squared_distance_xy(const Point3D& a, const Point3D& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// Extents: each component of m moves only where p is strictly beyond it.
void grow_max(Point3D& m, const Point3D& p);
void grow_min(Point3D& m, const Point3D& p);

// b when b < a, else a (so equal values give the first).
constexpr double min_of(double a, double b) {
    return b < a ? b : a;
}

// "(10.00, 5.50, 0.00)": 7 significant digits, then 2 decimals; full stop always.
std::string point_text(const Point3D& p);
// "TRUE" or "FALSE".
std::string bool_text(bool b);

} // namespace zeran
