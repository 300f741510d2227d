#include "geometry/fit_point_curve.h"

#include <algorithm>
#include <cmath>

namespace zeran {

namespace {

// Second derivatives of the interpolating cubic spline of values y over
// parameters u; a given end slope clamps that end, else it is natural.
std::vector<double> second_derivatives(const std::vector<double>& u, const std::vector<double>& y,
                                       std::optional<double> slope0, std::optional<double> slope1) {
    const std::size_t n = u.size();
    std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 0.0), r(n, 0.0);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double h0 = u[i] - u[i - 1], h1 = u[i + 1] - u[i];
        a[i] = h0 / 6.0;
        b[i] = (h0 + h1) / 3.0;
        c[i] = h1 / 6.0;
        r[i] = (y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0;
    }
    if (slope0) {
        const double h = u[1] - u[0];
        b[0] = h / 3.0;
        c[0] = h / 6.0;
        r[0] = (y[1] - y[0]) / h - *slope0;
    }
    if (slope1) {
        const double h = u[n - 1] - u[n - 2];
        a[n - 1] = h / 6.0;
        b[n - 1] = h / 3.0;
        r[n - 1] = *slope1 - (y[n - 1] - y[n - 2]) / h;
    }
    // Tridiagonal elimination; the system is diagonally dominant.
    for (std::size_t i = 1; i < n; ++i) {
        const double f = a[i] / b[i - 1];
        b[i] -= f * c[i - 1];
        r[i] -= f * r[i - 1];
    }
    std::vector<double> m(n, 0.0);
    m[n - 1] = r[n - 1] / b[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) m[i] = (r[i] - c[i] * m[i + 1]) / b[i];
    return m;
}

std::optional<Point2D> unit(std::optional<Point2D> v) {
    if (!v) return std::nullopt;
    const double l = std::hypot(v->x, v->y);
    if (!(l > 0.0) || !std::isfinite(l)) return std::nullopt;
    return Point2D{v->x / l, v->y / l};
}

} // namespace

std::optional<FitPointCurve> FitPointCurve::make(const std::vector<Point2D>& points,
                                                 std::optional<Point2D> start_tangent,
                                                 std::optional<Point2D> end_tangent) {
    FitPointCurve c;
    for (const Point2D& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
        if (!c.p_.empty() && p == c.p_.back()) continue;
        const double step =
            c.p_.empty() ? 0.0 : std::hypot(p.x - c.p_.back().x, p.y - c.p_.back().y);
        if (!c.p_.empty() && !(step > 0.0)) continue;
        c.u_.push_back(c.u_.empty() ? 0.0 : c.u_.back() + step);
        c.p_.push_back(p);
    }
    if (c.p_.size() < 2 || !std::isfinite(c.u_.back())) return std::nullopt;
    // Over chord length the curve runs at about unit speed, so a unit tangent is its slope.
    const std::optional<Point2D> t0 = unit(start_tangent), t1 = unit(end_tangent);
    std::vector<double> xs, ys;
    for (const Point2D& p : c.p_) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    const auto mx = second_derivatives(c.u_, xs, t0 ? std::optional(t0->x) : std::nullopt,
                                       t1 ? std::optional(t1->x) : std::nullopt);
    const auto my = second_derivatives(c.u_, ys, t0 ? std::optional(t0->y) : std::nullopt,
                                       t1 ? std::optional(t1->y) : std::nullopt);
    for (std::size_t i = 0; i < mx.size(); ++i) c.m_.push_back({mx[i], my[i]});
    return c;
}

CurvePoint FitPointCurve::at(double t) const {
    t = std::clamp(t, u_.front(), u_.back());
    std::size_t i = std::size_t(std::upper_bound(u_.begin(), u_.end(), t) - u_.begin());
    i = std::clamp<std::size_t>(i, 1, u_.size() - 1) - 1;
    const double h = u_[i + 1] - u_[i];
    const double a = (u_[i + 1] - t) / h, b = (t - u_[i]) / h;
    const auto value = [&](double y0, double y1, double m0, double m1) {
        return a * y0 + b * y1 + ((a * a * a - a) * m0 + (b * b * b - b) * m1) * h * h / 6.0;
    };
    const auto slope = [&](double y0, double y1, double m0, double m1) {
        return (y1 - y0) / h + (-(3 * a * a - 1) * m0 + (3 * b * b - 1) * m1) * h / 6.0;
    };
    const Point2D &p0 = p_[i], &p1 = p_[i + 1], &m0 = m_[i], &m1 = m_[i + 1];
    return {{value(p0.x, p1.x, m0.x, m1.x), value(p0.y, p1.y, m0.y, m1.y)},
            {slope(p0.x, p1.x, m0.x, m1.x), slope(p0.y, p1.y, m0.y, m1.y)}};
}

} // namespace zeran
