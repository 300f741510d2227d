#include "geometry/biarc_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zeran {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Curve points checked inside a span, and arc points checked against the curve.
constexpr int kCurveSamples = 16;
constexpr int kPieceSamples = 8;
// A span is accepted at half the tolerance, so that what lies between the
// checked points keeps within the whole of it.
constexpr double kMargin = 0.5;
// Spans halved this often are as short as the numbers allow: their chord is taken.
constexpr int kMaxDepth = 40;

Point2D operator+(Point2D a, Point2D b) {
    return {a.x + b.x, a.y + b.y};
}
Point2D operator-(Point2D a, Point2D b) {
    return {a.x - b.x, a.y - b.y};
}
Point2D operator*(Point2D a, double s) {
    return {a.x * s, a.y * s};
}
double dot(Point2D a, Point2D b) {
    return a.x * b.x + a.y * b.y;
}
double length(Point2D a) {
    return std::hypot(a.x, a.y);
}
Point2D left_normal(Point2D a) {
    return {-a.y, a.x};
}
bool finite(Point2D p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}
double angle_of(Point2D v) {
    return std::atan2(v.y, v.x);
}

// The turn from angle a to angle b in the direction of travel, in [0, 2π).
double turn_between(double a, double b, bool ccw) {
    double s = std::fmod(ccw ? b - a : a - b, kTwoPi);
    if (s < 0.0) s += kTwoPi;
    return s;
}

// The sweep of an arc piece, in (0, 2π]: coinciding ends make a full turn.
double sweep_of(const ChainPiece& p) {
    const double s = turn_between(angle_of(p.start - p.centre), angle_of(p.end - p.centre), p.ccw);
    return s > 0.0 ? s : kTwoPi;
}

Point2D point_on(const ChainPiece& p, double fraction) {
    if (p.straight) return p.start + (p.end - p.start) * fraction;
    const double a = angle_of(p.start - p.centre) + (p.ccw ? 1.0 : -1.0) * sweep_of(p) * fraction;
    return p.centre + Point2D{std::cos(a), std::sin(a)} * p.radius;
}

Point2D unit_or(Point2D v, Point2D fallback) {
    const double l = length(v);
    if (l > 0.0 && std::isfinite(l)) return v * (1.0 / l);
    const double f = length(fallback);
    return f > 0.0 ? fallback * (1.0 / f) : Point2D{1.0, 0.0};
}

// The arc that leaves p along the unit tangent t and reaches q; straight when
// q lies on the tangent line.
ChainPiece arc_leaving(Point2D p, Point2D t, Point2D q) {
    ChainPiece c;
    c.start = p;
    c.end = q;
    const Point2D w = q - p;
    const double ww = dot(w, w);
    const double nw = dot(left_normal(t), w);
    if (std::fabs(nw) <= 1e-12 * std::sqrt(ww)) return c;
    const double r = ww / (2.0 * nw); // signed: positive turns left
    c.straight = false;
    c.centre = p + left_normal(t) * r;
    c.radius = std::fabs(r);
    c.ccw = r > 0.0;
    return c;
}

ChainPiece reversed(ChainPiece c) {
    std::swap(c.start, c.end);
    c.ccw = !c.ccw;
    return c;
}

// The biarc with equal tangent lengths d at both ends; false when there is none.
bool make_biarc(const CurvePoint& a, const CurvePoint& b, ChainPiece& first, ChainPiece& second) {
    const Point2D v = b.point - a.point;
    const double vv = dot(v, v);
    if (!(vv > 0.0)) return false;
    const Point2D t1 = unit_or(a.tangent, v);
    const Point2D t2 = unit_or(b.tangent, v);
    const double vt = dot(v, t1 + t2);
    const double denominator = 2.0 * (1.0 - dot(t1, t2));
    double d = 0.0;
    if (denominator < 1e-12) {
        const double vt2 = dot(v, t2);
        if (vt2 <= 1e-12 * std::sqrt(vv)) return false;
        d = vv / (4.0 * vt2);
    } else {
        d = (-vt + std::sqrt(vt * vt + denominator * vv)) / denominator;
    }
    if (!(d > 0.0) || !std::isfinite(d)) return false;
    const Point2D joint = (a.point + b.point + (t1 - t2) * d) * 0.5;
    first = arc_leaving(a.point, t1, joint);
    second = reversed(arc_leaving(b.point, t2 * -1.0, joint));
    return true;
}

class Fitter {
public:
    Fitter(const PlaneCurve& curve, double tolerance, FitBudget& budget,
           std::vector<ChainPiece>& out)
        : curve_(curve), limit_(tolerance * kMargin), budget_(budget), out_(out) {}

    bool overflow() const { return overflow_; }

    void span(double a, const CurvePoint& pa, double b, const CurvePoint& pb, int depth) {
        if (overflow_) return;
        // Spans that never fit (a curve on one point, numbers beyond the
        // tolerance's reach) would be halved down to the last level
        // everywhere: the work is bounded as well as the output.
        if (out_.size() + 2 > budget_.max_pieces || budget_.spans_left == 0) {
            overflow_ = true;
            return;
        }
        --budget_.spans_left;
        // Nothing to emit: a span whose numbers overflowed, or a dot.
        if (!finite(pa.point) && !finite(pb.point)) return;
        if (pa.point == pb.point && stays_on(a, b, pa.point)) return;
        ChainPiece first, second;
        const bool made = make_biarc(pa, pb, first, second);
        if (made && close_enough(a, pa, b, pb, first, second)) {
            emit(first);
            emit(second);
            return;
        }
        if (depth >= kMaxDepth) {
            ChainPiece chord;
            chord.start = pa.point;
            chord.end = pb.point;
            emit(made ? first : chord);
            if (made) emit(second);
            return;
        }
        const double m = 0.5 * (a + b);
        const CurvePoint pm = curve_(m);
        span(a, pa, m, pm, depth + 1);
        span(m, pm, b, pb, depth + 1);
    }

private:
    // Whether the curve between a and b keeps within the tolerance of p: a
    // closed span that is a dot, not a loop.
    bool stays_on(double a, double b, Point2D p) {
        for (int k = 1; k <= kCurveSamples; ++k) {
            const Point2D q = curve_(a + (b - a) * k / (kCurveSamples + 1)).point;
            if (!(length(q - p) <= limit_)) return false;
        }
        return true;
    }

    // Pieces of no length, and pieces of a curve whose numbers overflowed, are left out.
    void emit(const ChainPiece& p) {
        if (p.start == p.end) return;
        if (!finite(p.start) || !finite(p.end)) return;
        if (!p.straight && (!finite(p.centre) || !std::isfinite(p.radius))) return;
        out_.push_back(p);
    }

    bool close_enough(double a, const CurvePoint& pa, double b, const CurvePoint& pb,
                      const ChainPiece& first, const ChainPiece& second) {
        // The curve keeps near the pieces...
        params_.assign(1, a);
        points_.assign(1, pa.point);
        for (int k = 1; k <= kCurveSamples; ++k) {
            const double t = a + (b - a) * k / (kCurveSamples + 1);
            const Point2D q = curve_(t).point;
            if (std::min(piece_distance(first, q), piece_distance(second, q)) > limit_)
                return false;
            params_.push_back(t);
            points_.push_back(q);
        }
        params_.push_back(b);
        points_.push_back(pb.point);
        // ...and the pieces keep near the curve.
        for (const ChainPiece* piece : {&first, &second})
            for (int k = 1; k <= kPieceSamples; ++k)
                if (distance_to_curve(point_on(*piece, double(k) / (kPieceSamples + 1))) > limit_)
                    return false;
        return true;
    }

    // Nearest sampled point first, then a golden-section search of the curve
    // on both sides of it.
    double distance_to_curve(Point2D p) {
        std::size_t nearest = 0;
        double best = length(points_[0] - p);
        for (std::size_t i = 1; i < points_.size(); ++i) {
            const double d = length(points_[i] - p);
            if (d < best) {
                best = d;
                nearest = i;
            }
        }
        double lo = params_[nearest > 0 ? nearest - 1 : 0];
        double hi = params_[std::min(nearest + 1, params_.size() - 1)];
        const double g = (std::sqrt(5.0) - 1.0) / 2.0;
        double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
        double f1 = length(curve_(x1).point - p), f2 = length(curve_(x2).point - p);
        for (int i = 0; i < 30 && hi - lo > 0.0; ++i) {
            if (f1 < f2) {
                hi = x2;
                x2 = x1;
                f2 = f1;
                x1 = hi - g * (hi - lo);
                f1 = length(curve_(x1).point - p);
            } else {
                lo = x1;
                x1 = x2;
                f1 = f2;
                x2 = lo + g * (hi - lo);
                f2 = length(curve_(x2).point - p);
            }
        }
        return std::min({best, f1, f2});
    }

    const PlaneCurve& curve_;
    double limit_;
    FitBudget& budget_;
    std::vector<ChainPiece>& out_;
    bool overflow_ = false;
    std::vector<double> params_;
    std::vector<Point2D> points_;
};

} // namespace

double piece_distance(const ChainPiece& piece, Point2D p) {
    const double to_ends = std::min(length(p - piece.start), length(p - piece.end));
    if (piece.straight) {
        const Point2D d = piece.end - piece.start;
        const double dd = dot(d, d);
        if (!(dd > 0.0)) return to_ends;
        const double f = std::clamp(dot(p - piece.start, d) / dd, 0.0, 1.0);
        return length(piece.start + d * f - p);
    }
    const Point2D r = p - piece.centre;
    if (length(r) == 0.0) return piece.radius;
    const double along = turn_between(angle_of(piece.start - piece.centre), angle_of(r), piece.ccw);
    if (along <= sweep_of(piece)) return std::fabs(length(r) - piece.radius);
    return to_ends;
}

ChainPiece bulge_piece(Point2D start, Point2D end, double bulge) {
    ChainPiece c;
    c.start = start;
    c.end = end;
    const Point2D chord = end - start;
    const double l = length(chord);
    if (bulge == 0.0 || !std::isfinite(bulge) || !(l > 0.0)) return c;
    const double half = 2.0 * std::atan(std::fabs(bulge)); // half the sweep
    c.straight = false;
    c.ccw = bulge > 0.0;
    c.radius = l / (2.0 * std::sin(half));
    const Point2D side = left_normal(chord * (1.0 / l)) * (c.ccw ? 1.0 : -1.0);
    c.centre = (start + end) * 0.5 + side * (c.radius * std::cos(half));
    return c;
}

double piece_bulge(const ChainPiece& piece) {
    if (piece.straight) return 0.0;
    const double b = std::tan(sweep_of(piece) / 4.0);
    return piece.ccw ? b : -b;
}

bool fit_biarcs(const PlaneCurve& curve, double t0, double t1, double tolerance, FitBudget& budget,
                std::vector<ChainPiece>& out) {
    if (!(t1 > t0)) return true;
    Fitter fitter(curve, tolerance, budget, out);
    fitter.span(t0, curve(t0), t1, curve(t1), 0);
    return !fitter.overflow();
}

} // namespace zeran
