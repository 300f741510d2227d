#pragma once
// The smooth curve through a spline's fit points when the file gives no
// control points: a cubic spline in each coordinate over the chord lengths,
// starting and ending along the given tangents, or without bending there
// when none are given.
#include "geometry/biarc_fit.h"

#include <optional>
#include <vector>

namespace zeran {

class FitPointCurve {
public:
    // Repeated points are dropped; nothing when fewer than two remain.
    static std::optional<FitPointCurve> make(const std::vector<Point2D>& points,
                                             std::optional<Point2D> start_tangent,
                                             std::optional<Point2D> end_tangent);

    // Parameters of the fit points, from 0 to the polygon's length.
    const std::vector<double>& breaks() const { return u_; }
    CurvePoint at(double t) const;

private:
    FitPointCurve() = default;

    std::vector<double> u_;
    std::vector<Point2D> p_;
    // Second derivatives at the fit points.
    std::vector<Point2D> m_;
};

} // namespace zeran
