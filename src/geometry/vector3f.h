#pragma once
// Single-precision vectors and the small angle and rounding helpers the
// cycle code uses.

namespace zeran {

struct Vector3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    friend bool operator==(const Vector3f&, const Vector3f&) = default;
};

constexpr Vector3f make_vector3f(float x, float y, float z) {
    return {x, y, z};
}

// Computed in extended precision, so squares of large floats do not overflow.
long double vector3f_length(const Vector3f& v);
// In place, v scaled by 1/length.
void normalise_vector3f(Vector3f& v);
// out := v scaled by 1/length; v unchanged.
void normalised_vector3f(const Vector3f& v, Vector3f& out);

// Radians; arc_tan2 answers in (-pi, pi].
double arc_tan2(double y, double x);
double arc_sin(double x);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
long long nearest_int(double f);

} // namespace zeran
