// The curve half of DXF_Reader: LWPOLYLINE, SPLINE and ELLIPSE, whose groups
// repeat (one vertex, knot or weight after another), made into lines and arcs.
#include "dxf/curve_entities.h"
#include "dxf/dxf_read_exception.h"
#include "dxf/dxf_reader.h"
#include "geometry/fit_point_curve.h"
#include "geometry/nurbs_curve.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace zeran {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

Point2D flat(const Point3D& p) {
    return {p.x, p.y};
}

} // namespace

struct DXF_Reader::CurveGroups {
    std::string layer;
    int colour = 0;
    int flags = 0;
    int degree = 0;
    double elevation = 0.0;
    Point3D extrusion = Z_AXIS;
    // 10/20/30 in order; a 10 starts the next point.
    std::vector<Point3D> first;
    // 42 per vertex of a polyline (the last one given before the next 10).
    std::vector<double> bulges;
    std::vector<Point3D> second;   // 11/21/31
    std::optional<Point3D> third;  // 12/22/32
    std::optional<Point3D> fourth; // 13/23/33
    std::vector<double> g40, g41;
    double g42 = 0.0;
    bool too_many = false;
};

bool DXF_Reader::collect_curve(CurveGroups& g, Direction direction) {
    const auto last = [](std::vector<Point3D>& v) -> Point3D* {
        return v.empty() ? nullptr : &v.back();
    };
    const auto optional_point = [](std::optional<Point3D>& p) -> Point3D& {
        if (!p) p = Point3D{};
        return *p;
    };
    const auto add = [&g](auto& list, auto value) {
        if (list.size() >= kMaxSplinePoints) {
            g.too_many = true;
            return;
        }
        list.push_back(value);
    };
    for (;;) {
        const int code = groups_.next();
        if (code < 0) return false;
        if (code == 0) break;
        switch (code) {
        case 8:
            g.layer = groups_.value();
            break;
        case 62:
            g.colour = groups_.integer();
            break;
        case 70:
            g.flags = groups_.integer();
            break;
        case 71:
            g.degree = groups_.integer();
            break;
        case 38:
            g.elevation = groups_.real();
            break;
        case 10:
            add(g.first, Point3D{groups_.real(), 0.0, 0.0});
            if (g.bulges.size() < g.first.size()) g.bulges.push_back(0.0);
            break;
        case 20:
            if (Point3D* p = last(g.first)) p->y = groups_.real();
            break;
        case 30:
            if (Point3D* p = last(g.first)) p->z = groups_.real();
            break;
        case 11:
            add(g.second, Point3D{groups_.real(), 0.0, 0.0});
            break;
        case 21:
            if (Point3D* p = last(g.second)) p->y = groups_.real();
            break;
        case 31:
            if (Point3D* p = last(g.second)) p->z = groups_.real();
            break;
        case 12:
            optional_point(g.third).x = groups_.real();
            break;
        case 22:
            optional_point(g.third).y = groups_.real();
            break;
        case 32:
            optional_point(g.third).z = groups_.real();
            break;
        case 13:
            optional_point(g.fourth).x = groups_.real();
            break;
        case 23:
            optional_point(g.fourth).y = groups_.real();
            break;
        case 33:
            optional_point(g.fourth).z = groups_.real();
            break;
        case 40:
            add(g.g40, groups_.real());
            break;
        case 41:
            add(g.g41, groups_.real());
            break;
        case 42:
            g.g42 = groups_.real();
            if (!g.bulges.empty()) g.bulges.back() = g.g42;
            break;
        case 210:
            g.extrusion.x = groups_.real();
            break;
        case 220:
            g.extrusion.y = groups_.real();
            break;
        case 230:
            g.extrusion.z = groups_.real();
            break;
        default:
            break;
        }
    }
    groups_.push_back();
    if (!(g.extrusion == Z_AXIS) && direction == Direction::Needed)
        g.extrusion = unit_extrusion(g.extrusion);
    layer_named(g.layer);
    return true;
}

void DXF_Reader::read_lwpolyline(DXF_Layer*& layer, Made& made) {
    CurveGroups g;
    if (!collect_curve(g)) fail("LWPOLYLINE");
    layer = last_layer_;
    if (g.too_many)
        throw DXF_read_exception("Polyline contained more than 8192 vertices",
                                 groups_.line_number());
    if (g.first.empty()) throw std::length_error("Polyline without vertices");
    for (Point3D& v : g.first) v.z = g.elevation;
    const bool closed = (g.flags & 1) != 0;
    const bool bulged =
        std::any_of(g.bulges.begin(), g.bulges.end(), [](double b) { return b != 0.0; });
    if (!bulged) {
        // Straight segments only: the same polyline a POLYLINE entity gives.
        made.push_back(std::make_unique<Polyline_>(g.extrusion, closed ? Closed::Yes : Closed::No,
                                                   g.colour, std::move(g.first)));
        return;
    }
    add_chain_entities(bulged_polyline_pieces(g.first, g.bulges, closed), g.extrusion, g.elevation,
                       g.colour, made);
}

namespace {

// Control points and knots as the file gives them, made into a curve that
// can be evaluated. Closed and periodic splines come in several forms: the
// control points already wrapped round (knots = points + degree + 1), the
// first `degree` of them still to be repeated at the end, or with no knots
// at all (uniform knots then).
std::optional<NurbsCurve> spline_curve(int degree, bool periodic, std::vector<double> knots,
                                       std::vector<Point3D> control, std::vector<double> weights) {
    const std::size_t p = std::size_t(std::max(degree, 0));
    const std::size_t n = control.size();
    if (degree < 1 || n < 2) return std::nullopt;
    if (!weights.empty() && weights.size() != n) weights.clear(); // weights left out: all 1
    const auto wrap = [&] {
        for (std::size_t i = 0; i < p; ++i) {
            control.push_back(control[i]);
            if (!weights.empty()) weights.push_back(weights[i]);
        }
    };
    if (knots.empty()) {
        if (periodic && n > p) {
            wrap();
            for (std::size_t i = 0; i < control.size() + p + 1; ++i) knots.push_back(double(i));
        } else {
            knots = clamped_uniform_knots(degree, n);
        }
    } else if (knots.size() != n + p + 1 && periodic) {
        if (knots.size() == n + 1 && n > p) {
            // One knot per span of the loop: the knot vector is extended periodically.
            const double period = knots.back() - knots.front();
            std::vector<double> k;
            for (std::size_t i = p; i > 0; --i) k.push_back(knots[n - i] - period);
            k.insert(k.end(), knots.begin(), knots.end());
            for (std::size_t i = 1; i <= p; ++i) k.push_back(knots[i] + period);
            knots = std::move(k);
            wrap();
            // The domain starts at the original first knot.
        } else if (knots.size() == n + 2 * p + 1) {
            wrap();
        }
    }
    return NurbsCurve::make(degree, std::move(knots), std::move(control), std::move(weights));
}

} // namespace

void DXF_Reader::read_spline(DXF_Layer*& layer, Made& made) {
    CurveGroups g;
    // Control points are in world coordinates: the normal (absent when the
    // spline is not planar) plays no part.
    if (!collect_curve(g, Direction::Ignored)) fail("SPLINE");
    layer = last_layer_;
    if (g.too_many) fail("SPLINE");
    std::vector<ChainPiece> pieces;
    bool fitted = true;
    const double tolerance = curve_tolerance();
    FitBudget budget(kMaxCurvePieces);
    if (!g.first.empty()) {
        const bool periodic = (g.flags & 2) != 0 || (g.flags & 1) != 0;
        const std::optional<NurbsCurve> c = spline_curve(g.degree, periodic, g.g40, g.first, g.g41);
        if (!c) fail("SPLINE");
        const std::vector<double> breaks = c->breaks();
        for (std::size_t i = 0; fitted && i + 1 < breaks.size(); ++i) {
            // Each span ends with its own direction, not the next span's.
            const double end = breaks[i + 1];
            const auto curve = [&c, end](double t) {
                const NurbsPoint q =
                    c->at(t, t >= end ? NurbsCurve::Side::FromBelow : NurbsCurve::Side::FromAbove);
                return CurvePoint{flat(q.point), flat(q.derivative)};
            };
            fitted = fit_biarcs(curve, breaks[i], end, tolerance, budget, pieces);
        }
    } else {
        std::vector<Point2D> fit;
        for (const Point3D& p : g.second) fit.push_back(flat(p));
        const auto tangent = [](const std::optional<Point3D>& t) -> std::optional<Point2D> {
            if (!t) return std::nullopt;
            return flat(*t);
        };
        const std::optional<FitPointCurve> c =
            FitPointCurve::make(fit, tangent(g.third), tangent(g.fourth));
        if (!c) fail("SPLINE");
        const auto curve = [&c](double t) { return c->at(t); };
        const std::vector<double>& breaks = c->breaks();
        for (std::size_t i = 0; fitted && i + 1 < breaks.size(); ++i)
            fitted = fit_biarcs(curve, breaks[i], breaks[i + 1], tolerance, budget, pieces);
    }
    if (!fitted) fail("SPLINE");
    // Control points in world coordinates: the pieces need no system of their own.
    add_chain_entities(pieces, Z_AXIS, 0.0, g.colour, made);
}

void DXF_Reader::read_ellipse(DXF_Layer*& layer, Made& made) {
    CurveGroups g;
    if (!collect_curve(g)) fail("ELLIPSE");
    layer = last_layer_;
    const Point3D centre = g.first.empty() ? ORIGIN : g.first.front();
    const Point3D major = g.second.empty() ? ORIGIN : g.second.front();
    const double ratio = g.g40.empty() ? 0.0 : g.g40.front();
    const double major_length =
        std::sqrt(major.x * major.x + major.y * major.y + major.z * major.z);
    if (!(major_length > 0.0) || !(ratio > 0.0) || !std::isfinite(ratio) ||
        !std::isfinite(major_length))
        fail("ELLIPSE");
    double start = g.g41.empty() ? 0.0 : g.g41.front();
    double end = g.g42;
    if (!std::isfinite(start) || !std::isfinite(end)) fail("ELLIPSE");
    if (g.g41.empty() && end == 0.0) end = kTwoPi; // parameters left out: the whole ellipse
    // Parameters run counter-clockwise about the extrusion from start to end.
    double sweep = std::fmod(end - start, kTwoPi);
    if (sweep <= 1e-12) sweep += kTwoPi;
    start = std::fmod(start, kTwoPi);
    end = start + sweep;
    const Point3D minor = cross_product(g.extrusion, major) * ratio;
    const bool flat_normal = g.extrusion.x == 0.0 && g.extrusion.y == 0.0;

    if (std::fabs(ratio - 1.0) <= 1e-9 && flat_normal) {
        // A circle: arcs of it, counter-clockwise as seen in the drawing.
        const double turn = std::atan2(major.y, major.x);
        const bool upward = g.extrusion.z > 0.0;
        const auto degrees = [](double a) { return a * 180.0 / std::numbers::pi; };
        const Point3D c{centre.x, centre.y, centre.z};
        if (sweep >= kTwoPi - 1e-12) {
            made.push_back(std::make_unique<Arc_>(Z_AXIS, g.colour, -90.0, 90.0, major_length, c));
            made.push_back(std::make_unique<Arc_>(Z_AXIS, g.colour, 90.0, -90.0, major_length, c));
            return;
        }
        const double a0 = upward ? turn + start : turn - end;
        const double a1 = upward ? turn + end : turn - start;
        made.push_back(
            std::make_unique<Arc_>(Z_AXIS, g.colour, degrees(a0), degrees(a1), major_length, c));
        return;
    }

    const auto curve = [&](double t) {
        const double c = std::cos(t), s = std::sin(t);
        return CurvePoint{
            {centre.x + major.x * c + minor.x * s, centre.y + major.y * c + minor.y * s},
            {-major.x * s + minor.x * c, -major.y * s + minor.y * c}};
    };
    // Quarters between the axis ends, where the curvature is largest or least.
    std::vector<double> breaks{start};
    for (double q = std::ceil(start / (kTwoPi / 4) + 1e-9) * (kTwoPi / 4); q < end - 1e-9;
         q += kTwoPi / 4)
        breaks.push_back(q);
    breaks.push_back(end);
    std::vector<ChainPiece> pieces;
    FitBudget budget(kMaxCurvePieces);
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i)
        if (!fit_biarcs(curve, breaks[i], breaks[i + 1], curve_tolerance(), budget, pieces))
            fail("ELLIPSE");
    add_chain_entities(pieces, Z_AXIS, 0.0, g.colour, made);
}

} // namespace zeran
