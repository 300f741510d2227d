#include "geometry/vector3f.h"

#include <cmath>
#include <numbers>

namespace zeran {

long double vector3f_length(const Vector3f& v) {
    const long double x = v.x, y = v.y, z = v.z;
    return std::sqrt(x * x + y * y + z * z);
}

void normalise_vector3f(Vector3f& v) {
    normalised_vector3f(v, v);
}

void normalised_vector3f(const Vector3f& v, Vector3f& out) {
    const long double k = 1.0L / vector3f_length(v);
    out = {static_cast<float>(v.x * k), static_cast<float>(v.y * k), static_cast<float>(v.z * k)};
}

double arc_tan2(double y, double x) {
    const double a = std::atan2(y, x);
    // atan2 gives -pi for a negative zero y; the range is half-open at -pi.
    return a == -std::numbers::pi ? std::numbers::pi : a;
}

double arc_sin(double x) {
    return arc_tan2(x, std::sqrt(1.0 - x * x));
}

long long nearest_int(double f) {
    // Explicit, so the answer does not depend on the floating-point rounding mode.
    double r = std::floor(f);
    const double rest = f - r;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    return static_cast<long long>(r);
}

} // namespace zeran
