#include "geometry/nurbs_curve.h"

#include <algorithm>
#include <cmath>

namespace zeran {

namespace {

using H = std::array<double, 4>;

H blend(const H& a, const H& b, double alpha) {
    return {a[0] + (b[0] - a[0]) * alpha, a[1] + (b[1] - a[1]) * alpha,
            a[2] + (b[2] - a[2]) * alpha, a[3] + (b[3] - a[3]) * alpha};
}

bool finite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

} // namespace

std::optional<NurbsCurve> NurbsCurve::make(int degree, std::vector<double> knots,
                                           std::vector<Point3D> control,
                                           std::vector<double> weights) {
    const std::size_t n = control.size();
    if (degree < 1 || degree > kMaxDegree || n < std::size_t(degree) + 1) return std::nullopt;
    if (knots.size() != n + std::size_t(degree) + 1) return std::nullopt;
    if (!weights.empty() && weights.size() != n) return std::nullopt;
    for (std::size_t i = 0; i < knots.size(); ++i) {
        if (!std::isfinite(knots[i])) return std::nullopt;
        if (i > 0 && knots[i] < knots[i - 1]) return std::nullopt;
    }
    NurbsCurve c;
    c.degree_ = degree;
    c.knots_ = std::move(knots);
    c.control_ = std::move(control);
    if (!(c.end() > c.start())) return std::nullopt;
    c.homogeneous_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double w = weights.empty() ? 1.0 : weights[i];
        if (!(w > 0.0) || !std::isfinite(w) || !finite(c.control_[i])) return std::nullopt;
        const Point3D& p = c.control_[i];
        c.homogeneous_.push_back({p.x * w, p.y * w, p.z * w, w});
    }
    return c;
}

std::vector<double> NurbsCurve::breaks() const {
    std::vector<double> b;
    for (std::size_t i = std::size_t(degree_); i <= control_.size(); ++i)
        if (b.empty() || knots_[i] > b.back()) b.push_back(knots_[i]);
    return b;
}

NurbsPoint NurbsCurve::at(double t, Side side) const {
    const std::size_t p = std::size_t(degree_);
    const std::size_t n = control_.size();
    t = std::clamp(t, start(), end());
    // The span k with knots[k] <= t < knots[k + 1].
    std::size_t k = std::size_t(std::upper_bound(knots_.begin() + std::ptrdiff_t(p),
                                                 knots_.begin() + std::ptrdiff_t(n) + 1, t) -
                                knots_.begin());
    k = k > 0 ? k - 1 : 0;
    k = std::clamp(k, p, n - 1);
    // The last non-empty span at the end; the one below a knot when asked.
    while (k > p && (knots_[k] == knots_[k + 1] || (side == Side::FromBelow && knots_[k] == t)))
        --k;

    std::vector<H> d(homogeneous_.begin() + std::ptrdiff_t(k - p),
                     homogeneous_.begin() + std::ptrdiff_t(k) + 1);
    // The two points of the next-to-last level give the derivative.
    H lo_level = d[p - 1], hi_level = d[p];
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t j = p; j >= r; --j) {
            const double lo = knots_[j + k - p];
            const double hi = knots_[j + 1 + k - r];
            const double alpha = hi > lo ? (t - lo) / (hi - lo) : 0.0;
            d[j] = blend(d[j - 1], d[j], alpha);
        }
        if (r + 1 == p) {
            lo_level = d[p - 1];
            hi_level = d[p];
        }
    }
    const double span = knots_[k + 1] - knots_[k];
    const double f = span > 0.0 ? double(p) / span : 0.0;
    const H& a = d[p];
    const H da{(hi_level[0] - lo_level[0]) * f, (hi_level[1] - lo_level[1]) * f,
               (hi_level[2] - lo_level[2]) * f, (hi_level[3] - lo_level[3]) * f};
    NurbsPoint out;
    const double w = a[3];
    out.point = {a[0] / w, a[1] / w, a[2] / w};
    out.derivative = {(da[0] - da[3] * out.point.x) / w, (da[1] - da[3] * out.point.y) / w,
                      (da[2] - da[3] * out.point.z) / w};
    return out;
}

std::vector<double> clamped_uniform_knots(int degree, std::size_t control_count) {
    std::vector<double> k;
    const std::size_t p = std::size_t(degree);
    const double inner = double(control_count) - double(p);
    for (std::size_t i = 0; i <= p; ++i) k.push_back(0.0);
    for (std::size_t i = 1; double(i) < inner; ++i) k.push_back(double(i));
    for (std::size_t i = 0; i <= p; ++i) k.push_back(inner);
    return k;
}

} // namespace zeran
