#pragma once
// Non-uniform rational B-spline curves as DXF SPLINE entities give them:
// degree, knots, control points and optional weights, evaluated with their
// first derivative by de Boor's algorithm in homogeneous coordinates.
#include "geometry/point3d.h"

#include <array>
#include <optional>
#include <vector>

namespace zeran {

struct NurbsPoint {
    Point3D point;
    Point3D derivative;
};

class NurbsCurve {
public:
    static constexpr int kMaxDegree = 32;

    // Checks the data: degree from 1 to kMaxDegree, one knot per control point plus
    // degree + 1, knots not decreasing, positive finite weights (none means
    // all 1), a domain of non-zero length. Nothing when they do not hold.
    static std::optional<NurbsCurve> make(int degree, std::vector<double> knots,
                                          std::vector<Point3D> control,
                                          std::vector<double> weights);

    // The parameter range the curve is defined on.
    double start() const { return knots_[std::size_t(degree_)]; }
    double end() const { return knots_[control_.size()]; }
    // The distinct knots from start to end, both included: the curve is
    // smooth between neighbours.
    std::vector<double> breaks() const;

    // At a knot the curve may turn a corner: the derivative is the one of
    // the span above t, or of the span below when FromBelow.
    enum class Side { FromAbove, FromBelow };
    NurbsPoint at(double t, Side side = Side::FromAbove) const;

    int degree() const { return degree_; }

private:
    NurbsCurve() = default;

    int degree_ = 0;
    std::vector<double> knots_;
    // x·w, y·w, z·w, w
    std::vector<std::array<double, 4>> homogeneous_;
    std::vector<Point3D> control_;
};

// Knots 0 (degree + 1 times), 1, 2, ..., n - degree (degree + 1 times): a
// curve that starts and ends at its end control points.
std::vector<double> clamped_uniform_knots(int degree, std::size_t control_count);

} // namespace zeran
