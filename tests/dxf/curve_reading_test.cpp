// Polyline bulges, LWPOLYLINE, SPLINE and ELLIPSE read as lines and arcs,
// measured against the curves' own equations.
#include "curve_checks.h"
#include "dxf/dxf_writer.h"
#include "geometry/polyline.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zeran {
namespace {

using test::ccw_sweep;
using test::chain_to_curve;
using test::curve_to_chain;
using test::dist;
using test::dxf_text;
using test::entities_section;
using test::Piece;
using test::pieces_on;
using test::read_dxf;
using test::walk_chain;

constexpr double kPi = std::numbers::pi;
constexpr double kMm = 0.001;           // the tolerance in a millimetre drawing
constexpr double kInch = 0.00003937008; // and in an inch drawing (0.001 mm)

std::string with_header(std::string_view header_pairs, std::string_view entity_pairs) {
    return dxf_text("0 SECTION\n2 HEADER\n") + dxf_text(header_pairs) + dxf_text("0 ENDSEC\n") +
           entities_section(entity_pairs);
}

std::string metric(std::string_view entity_pairs) {
    return with_header("9 $INSUNITS\n70 4\n", entity_pairs);
}

std::string point_pairs(int code, const std::vector<Point2D>& points) {
    std::ostringstream s;
    s.precision(17);
    for (const Point2D& p : points)
        s << code << ' ' << p.x << '\n' << code + 10 << ' ' << p.y << '\n' << code + 20 << " 0\n";
    return s.str();
}

std::string value_pairs(int code, const std::vector<double>& values) {
    std::ostringstream s;
    s.precision(17);
    for (double v : values) s << code << ' ' << v << '\n';
    return s.str();
}

std::string spline(int flags, int degree, const std::vector<double>& knots,
                   const std::vector<Point2D>& control, const std::vector<double>& weights = {}) {
    std::ostringstream s;
    s << "0 SPLINE\n8 S\n100 AcDbSpline\n70 " << flags << "\n71 " << degree << "\n72 "
      << knots.size() << "\n73 " << control.size() << "\n74 0\n42 0.0000001\n43 0.0000001\n"
      << value_pairs(40, knots) << value_pairs(41, weights) << point_pairs(10, control);
    return s.str();
}

// The worst distance either way between the arcs on layer S and the curve,
// and the walk along them from the curve's start.
struct Fit {
    double curve_to_arcs, arcs_to_curve;
    test::ChainWalk walk;
};

Fit measure(const test::ReadDrawing& d, const test::Curve& c, double t0, double t1,
            std::string_view layer = "S") {
    const std::vector<Piece> pieces = pieces_on(d, layer);
    return {curve_to_chain(c, t0, t1, pieces), chain_to_curve(pieces, c, t0, t1),
            walk_chain(pieces, c(t0))};
}

// A periodic uniform cubic B-spline round six points: segment i (0 <= i < 6)
// blends points i to i + 3, taken round the ring.
const std::vector<Point2D> ring{{0, 0}, {20, -5}, {40, 0}, {45, 20}, {20, 30}, {-5, 20}};
Point2D ring_curve(double t) {
    const int i = std::clamp(int(std::floor(t)), 0, 5);
    const double s = t - i;
    const double w[4] = {(1 - s) * (1 - s) * (1 - s) / 6, (3 * s * s * s - 6 * s * s + 4) / 6,
                         (-3 * s * s * s + 3 * s * s + 3 * s + 1) / 6, s * s * s / 6};
    Point2D p;
    for (int k = 0; k < 4; ++k) {
        const Point2D& c = ring[std::size_t((i + k) % 6)];
        p = {p.x + w[k] * c.x, p.y + w[k] * c.y};
    }
    return p;
}

TEST(CurveReading, LightweightPolylinesWithBulgesOfBothSignsAndEmptySegments) {
    ScriptedPrompt prompt;
    // Open and straight: one polyline at its elevation; widths change nothing.
    // Closed: a half circle to the left (bulge 1), a repeated vertex (a segment
    // of no length, whose bulge must not count), a quarter circle to the right
    // (bulge -tan(pi/8)) closing back to the start.
    const double q = -std::tan(kPi / 8);
    const auto d = read_dxf(metric(R"(0 LWPOLYLINE
8 OPEN
90 3
70 0
38 2.5
43 0.5
10 0
20 0
10 10
20 0
40 1
41 2
10 10
20 5
0 LWPOLYLINE
8 CLOSED
90 5
70 1
10 0
20 0
10 10
20 0
42 1
10 10
20 10
42 0.5
10 10
20 10
10 0
20 10
42 )" + value_pairs(0, {q}).substr(2)),
                            prompt);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(prompt.told.empty());
    ASSERT_EQ(d.count("OPEN", "Polyline_"), 1);
    const auto& open = static_cast<const Polyline_&>(*d.first("OPEN", "Polyline_"));
    EXPECT_FALSE(open.closed);
    EXPECT_EQ(open.vertices, (std::vector<Point3D>{{0, 0, 2.5}, {10, 0, 2.5}, {10, 5, 2.5}}));

    // Lines (0,0)-(10,0) and (10,10)-(0,10); the two arcs; nothing for the empty segment.
    EXPECT_EQ(d.count("CLOSED", "Line_"), 2);
    ASSERT_EQ(d.count("CLOSED", "Arc_"), 2);
    const std::vector<Piece> pieces = pieces_on(d, "CLOSED");
    const Piece& half = pieces[2];
    EXPECT_NEAR(half.centre.x, 10, 1e-12);
    EXPECT_NEAR(half.centre.y, 5, 1e-12);
    EXPECT_NEAR(half.radius, 5, 1e-12);
    EXPECT_NEAR(ccw_sweep(half.start, half.end), kPi, 1e-12);
    EXPECT_NEAR(dist(half.a, {10, 0}), 0, 1e-12); // counter-clockwise from (10,0)
    const Piece& quarter = pieces[3];
    EXPECT_NEAR(quarter.centre.x, -5, 1e-12);
    EXPECT_NEAR(quarter.centre.y, 5, 1e-12);
    EXPECT_NEAR(quarter.radius, 5 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(ccw_sweep(quarter.start, quarter.end), kPi / 2, 1e-12);
    EXPECT_NEAR(dist(quarter.a, {0, 0}), 0, 1e-12); // clockwise from (0,10): runs from (0,0)
    // The pieces close into one loop.
    const test::ChainWalk walk = walk_chain(pieces, {0, 0}, 1e-12);
    EXPECT_TRUE(walk.one_chain);
    EXPECT_NEAR(dist(walk.last, {0, 0}), 0, 1e-12);

    // Mirrored (extrusion -Z): lines come out in drawing coordinates, arcs keep
    // their own system like ARC entities; every piece of the segment is kept.
    const auto m = read_dxf(metric(R"(0 LWPOLYLINE
8 M
70 0
10 1
20 0
42 1
10 3
20 0
10 3
20 4
210 0
220 0
230 -1
)"),
                            prompt);
    ASSERT_EQ(m.count("M", "Line_"), 1);
    const auto& line = static_cast<const Line_&>(*m.first("M", "Line_"));
    EXPECT_EQ(line.point, (Point3D{-3, 0, 0}));
    EXPECT_EQ(line.end, (Point3D{-3, 4, 0}));
    ASSERT_EQ(m.count("M", "Arc_"), 1);
    const auto& arc = static_cast<const Arc_&>(*m.first("M", "Arc_"));
    EXPECT_EQ(arc.extrusion(), (Point3D{0, 0, -1}));
    EXPECT_NEAR(arc.point.x, 2, 1e-12);
    EXPECT_NEAR(arc.radius, 1, 1e-12);
}

TEST(CurveReading, PolylineBulgesBecomeArcsAndTheOldReadingKeepsChords) {
    const std::string text = metric(R"(0 POLYLINE
8 P
66 1
70 0
0 VERTEX
8 P
10 0
20 0
42 -1
0 VERTEX
8 P
10 4
20 0
0 VERTEX
8 P
10 4
20 3
0 SEQEND
0 LWPOLYLINE
8 P
10 0
20 0
42 1
10 1
20 0
0 SPLINE
8 P
0 ELLIPSE
8 P
0 HATCH
)");
    ScriptedPrompt prompt;
    const auto arcs = read_dxf(text, prompt);
    EXPECT_EQ(arcs.count("P", "Polyline_"), 0);
    EXPECT_EQ(arcs.count("P", "Line_"), 1);
    ASSERT_EQ(arcs.count("P", "Arc_"), 2);
    const Piece half = pieces_on(arcs, "P")[1];
    // Bulge -1: a half circle clockwise from (0,0) to (4,0), over the top.
    EXPECT_NEAR(half.centre.x, 2, 1e-12);
    EXPECT_NEAR(point_on(half, 0.5).y, 2, 1e-12);
    // The spline without control or fit points and the ellipse without axes are reported.
    EXPECT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(arcs.skipped_entities, (SkippedEntities{{"HATCH", 1}}));

    // The old reading: the polyline as before (chords), the newer entities passed over.
    ScriptedPrompt quiet;
    const auto chords = read_dxf(text, quiet, nullptr, CurveReading::Chords);
    EXPECT_TRUE(quiet.asked.empty());
    ASSERT_EQ(chords.count("P", "Polyline_"), 1);
    EXPECT_EQ(static_cast<const Polyline_&>(*chords.first("P", "Polyline_")).vertex_count(), 3);
    EXPECT_EQ(chords.count("P", "Arc_"), 0);
    EXPECT_EQ(chords.skipped_entities,
              (SkippedEntities{{"LWPOLYLINE", 1}, {"SPLINE", 1}, {"ELLIPSE", 1}, {"HATCH", 1}}));
    EXPECT_EQ(skipped_summary(chords.skipped_entities),
              "Skipped: 1 LWPOLYLINE, 1 SPLINE, 1 ELLIPSE, 1 HATCH");
    EXPECT_EQ(skipped_summary({}), "");
}

TEST(CurveReading, ClampedPeriodicAndRationalSplinesKeepWithinTheTolerance) {
    // Clamped cubic: one Bezier segment, 0 <= t <= 1.
    const std::vector<Point2D> b{{0, 0}, {10, 20}, {30, 20}, {40, 0}};
    const test::Curve bezier = [&](double t) {
        const double u = 1 - t;
        const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
        Point2D p;
        for (int i = 0; i < 4; ++i) p = {p.x + w[i] * b[i].x, p.y + w[i] * b[i].y};
        return p;
    };
    // Periodic uniform cubic round six control points, given wrapped (the
    // first three repeated).
    const test::Curve periodic = ring_curve;
    std::vector<Point2D> wrapped = ring;
    wrapped.insert(wrapped.end(), ring.begin(), ring.begin() + 3);
    std::vector<double> uniform;
    for (int i = 0; i < 13; ++i) uniform.push_back(i - 3);
    // The same with an inflection: an S, where a biarc must turn both ways.
    const std::vector<Point2D> sb{{0, 0}, {20, 30}, {20, -30}, {40, 0}};
    const test::Curve s_curve = [&](double t) {
        const double u = 1 - t;
        const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
        Point2D p;
        for (int i = 0; i < 4; ++i) p = {p.x + w[i] * sb[i].x, p.y + w[i] * sb[i].y};
        return p;
    };
    // Rational quadratic: a quarter circle of radius 25 about (5, 5).
    const double h = std::sqrt(0.5);
    const test::Curve circle = [](double a) {
        return Point2D{5 + 25 * std::cos(a), 5 + 25 * std::sin(a)};
    };

    struct Case {
        std::string name, text;
        test::Curve curve;
        double t0, t1;
        bool closed;
    };
    const std::vector<Case> cases{
        {"clamped", spline(8, 3, {0, 0, 0, 0, 1, 1, 1, 1}, b), bezier, 0, 1, false},
        {"inflection", spline(8, 3, {0, 0, 0, 0, 1, 1, 1, 1}, sb), s_curve, 0, 1, false},
        {"periodic", spline(8 + 2 + 1, 3, uniform, wrapped), periodic, 0, 6, true},
        {"rational", spline(8 + 4, 2, {0, 0, 0, 1, 1, 1}, {{30, 5}, {30, 30}, {5, 30}}, {1, h, 1}),
         circle, 0, kPi / 2, false},
    };
    for (const Case& c : cases) {
        for (const auto& [units, tolerance] : {std::pair{"70 4", kMm}, std::pair{"70 1", kInch}}) {
            ScriptedPrompt prompt;
            const auto d =
                read_dxf(with_header(std::string("9 $INSUNITS\n") + units + "\n", c.text), prompt);
            ASSERT_TRUE(prompt.asked.empty()) << c.name << ": " << prompt.asked.front();
            const Fit f = measure(d, c.curve, c.t0, c.t1);
            EXPECT_LE(f.curve_to_arcs, tolerance) << c.name;
            EXPECT_LE(f.arcs_to_curve, tolerance) << c.name;
            EXPECT_TRUE(f.walk.one_chain) << c.name;
            EXPECT_LT(f.walk.worst_kink, 1e-6) << c.name << ": biarcs join tangentially";
            EXPECT_LT(dist(f.walk.last, c.curve(c.t1)), 1e-9) << c.name;
            if (c.closed) {
                EXPECT_LT(dist(f.walk.last, c.curve(c.t0)), 1e-9) << c.name;
            }
            EXPECT_LT(f.walk.pieces, 400u) << c.name;
        }
    }
}

TEST(CurveReading, SplineForms) {
    // The same periodic ring given unwrapped with a periodic knot per point,
    // and a curve through fit points when there are no control points.
    ScriptedPrompt prompt;
    const auto d = read_dxf(metric(spline(8 + 2 + 1, 3, {0, 1, 2, 3, 4, 5, 6}, ring) +
                                   "0 SPLINE\n8 F\n70 8\n71 3\n74 3\n" +
                                   point_pairs(11, {{0, 0}, {10, 5}, {20, 0}})),
                            prompt);
    EXPECT_TRUE(prompt.asked.empty());
    const std::vector<Piece> loop = pieces_on(d, "S");
    ASSERT_FALSE(loop.empty());
    // The same closed curve as the wrapped form, walked round back to where it began.
    EXPECT_LE(curve_to_chain(ring_curve, 0, 6, loop), kMm);
    EXPECT_LE(chain_to_curve(loop, ring_curve, 0, 6), kMm);
    const test::ChainWalk walk = walk_chain(loop, loop.front().a);
    EXPECT_TRUE(walk.one_chain);
    EXPECT_LT(dist(walk.last, loop.front().a), 1e-9);
    EXPECT_LT(walk.worst_kink, 1e-6);

    const std::vector<Piece> fit = pieces_on(d, "F");
    ASSERT_FALSE(fit.empty());
    const test::ChainWalk through = walk_chain(fit, {0, 0});
    EXPECT_TRUE(through.one_chain);
    EXPECT_LT(dist(through.last, {20, 0}), 1e-9);
    // The middle fit point lies on the chain.
    double nearest = 1e9;
    for (const Piece& p : fit) nearest = std::min(nearest, test::distance_to(p, {10, 5}));
    EXPECT_LT(nearest, 1e-9);

    // A double knot is a corner: two quadratic Bezier arches meeting at (20, 0).
    // Each arch ends along its own direction, so the corner is the only kink.
    ScriptedPrompt corner;
    const auto k = read_dxf(metric(spline(8, 2, {0, 0, 0, 1, 1, 2, 2, 2},
                                          {{0, 0}, {10, 10}, {20, 0}, {30, 10}, {40, 0}})),
                            corner);
    EXPECT_TRUE(corner.asked.empty());
    const test::Curve arches = [](double t) {
        const double s = t < 1 ? t : t - 1, x0 = t < 1 ? 0 : 20, u = 1 - s;
        return Point2D{x0 + 10 * 2 * u * s + 20 * s * s, 10 * 2 * u * s};
    };
    const Fit f = measure(k, arches, 0, 2);
    EXPECT_LE(f.curve_to_arcs, kMm);
    EXPECT_LE(f.arcs_to_curve, kMm);
    ASSERT_TRUE(f.walk.one_chain);
    ASSERT_EQ(f.walk.corners.size(), 1u);
    EXPECT_LT(dist(f.walk.corners[0], {20, 0}), 1e-9);
    // The corner costs no extra pieces: twice what one arch alone takes.
    const auto one =
        read_dxf(metric(spline(8, 2, {0, 0, 0, 1, 1, 1}, {{0, 0}, {10, 10}, {20, 0}})), corner);
    EXPECT_EQ(f.walk.pieces, 2 * pieces_on(one, "S").size());

    // The normal of a spline plays no part: a zero one is no error.
    ScriptedPrompt zero;
    const auto z = read_dxf(
        metric(spline(8, 3, {0, 0, 0, 0, 1, 1, 1, 1}, {{0, 0}, {10, 20}, {30, 20}, {40, 0}}) +
               "210 0\n220 0\n230 0\n"),
        zero);
    EXPECT_TRUE(zero.asked.empty());
    EXPECT_TRUE(zero.told.empty());
    EXPECT_FALSE(pieces_on(z, "S").empty());

    // Data that make no curve are reported and the reading goes on.
    ScriptedPrompt bad;
    const auto e =
        read_dxf(metric(spline(8, 3, {0, 0, 1, 0.5, 1, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}, {3, 1}}) +
                        spline(8, 2, {0, 0, 0, 1, 1, 1}, {{0, 0}, {1, 1}, {2, 0}}, {1, -1, 1}) +
                        "0 ELLIPSE\n8 E\n10 0\n20 0\n11 5\n21 0\n40 0\n0 LINE\n8 L\n11 1\n"),
                 bad);
    ASSERT_EQ(bad.asked.size(), 3u);
    EXPECT_NE(bad.asked[0].find("Error reading SPLINE entity"), std::string::npos);
    EXPECT_NE(bad.asked[2].find("Error reading ELLIPSE entity"), std::string::npos);
    EXPECT_EQ(e.count("L", "Line_"), 1);
}

TEST(CurveReading, CurvesThatNeverFitEndQuickly) {
    // A spline on one point, a closed loop that is a dot within the tolerance,
    // and a spline whose coordinates are too large for the tolerance to be
    // reached: halving each of them down to the last level everywhere took
    // hours. The dots give nothing; the huge one is reported.
    ScriptedPrompt prompt;
    const std::vector<Point2D> dot(40, Point2D{5, 5});
    const std::vector<Point2D> tiny{{0, 0}, {0.0001, 0.0001}, {0.0002, 0}, {0, 0}};
    std::vector<Point2D> huge;
    for (int i = 0; i < 400; ++i) huge.push_back({1e250 * ((i * 37) % 101), 1e250 * (i % 7)});
    const auto d =
        read_dxf(metric(spline(8, 3, {}, dot) + spline(8, 3, {}, tiny) + spline(8, 9, {}, huge) +
                        "0 LINE\n8 L\n10 0\n20 0\n11 1\n21 0\n"),
                 prompt);
    EXPECT_TRUE(pieces_on(d, "S").empty());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].find("Error reading SPLINE entity"), std::string::npos);
    EXPECT_EQ(d.count("L", "Line_"), 1);
}

TEST(CurveReading, FullPartialAndMirroredEllipses) {
    const double turn = 20 * kPi / 180;
    const Point2D c{50, 10};
    const Point2D major{30 * std::cos(turn), 30 * std::sin(turn)};
    const double ratio = 0.4;
    const auto ellipse = [&](double sense) {
        return [=](double t) {
            // minor = extrusion x major, scaled by the ratio
            const Point2D minor{-major.y * ratio * sense, major.x * ratio * sense};
            return Point2D{c.x + major.x * std::cos(t) + minor.x * std::sin(t),
                           c.y + major.y * std::cos(t) + minor.y * std::sin(t)};
        };
    };
    const auto text = [&](std::string_view layer, double start, double end, int z) {
        std::ostringstream s;
        s.precision(17);
        s << "0 ELLIPSE\n8 " << layer << "\n10 " << c.x << "\n20 " << c.y << "\n30 0\n11 "
          << major.x << "\n21 " << major.y << "\n31 0\n210 0\n220 0\n230 " << z << "\n40 " << ratio
          << "\n41 " << start << "\n42 " << end << "\n";
        return s.str();
    };
    ScriptedPrompt prompt;
    const auto d = read_dxf(metric(text("FULL", 0, 2 * kPi, 1) + text("PART", 0.3, 2.5, 1) +
                                   text("MIRROR", 5.5, 1.0, -1)),
                            prompt);
    ASSERT_TRUE(prompt.asked.empty());
    struct Case {
        std::string layer;
        double t0, t1, sense;
    };
    for (const Case& k : {Case{"FULL", 0, 2 * kPi, 1}, Case{"PART", 0.3, 2.5, 1},
                          Case{"MIRROR", 5.5, 1.0 + 2 * kPi, -1}}) {
        const test::Curve e = ellipse(k.sense);
        const Fit f = measure(d, e, k.t0, k.t1, k.layer);
        EXPECT_LE(f.curve_to_arcs, kMm) << k.layer;
        EXPECT_LE(f.arcs_to_curve, kMm) << k.layer;
        EXPECT_TRUE(f.walk.one_chain) << k.layer;
        EXPECT_LT(f.walk.worst_kink, 1e-6) << k.layer;
        EXPECT_LT(dist(f.walk.last, e(k.t1)), 1e-9) << k.layer;
    }

    // An ellipse that is a circle: arcs of that circle, two for the whole.
    ScriptedPrompt p2;
    const auto r = read_dxf(metric(R"(0 ELLIPSE
8 WHOLE
10 5
20 5
11 0
21 3
40 1
41 0
42 6.283185307179586
0 ELLIPSE
8 ARC
10 5
20 5
11 0
21 3
40 1
41 0
42 1.5707963267948966
0 ELLIPSE
8 BACK
10 5
20 5
11 0
21 3
230 -1
40 1
41 0
42 1.5707963267948966
)"),
                            p2);
    EXPECT_EQ(r.count("WHOLE", "Arc_"), 2);
    EXPECT_EQ(r.count("WHOLE", "Line_"), 0);
    ASSERT_EQ(r.count("ARC", "Arc_"), 1);
    const Piece a = pieces_on(r, "ARC")[0];
    EXPECT_NEAR(a.radius, 3, 1e-12);
    EXPECT_LT(dist(a.a, {5, 8}), 1e-12); // from the top, a quarter counter-clockwise
    EXPECT_LT(dist(a.b, {2, 5}), 1e-12);
    ASSERT_EQ(r.count("BACK", "Arc_"), 1);
    const Piece back = pieces_on(r, "BACK")[0];
    EXPECT_LT(dist(back.a, {8, 5}), 1e-12); // seen from below it runs clockwise
    EXPECT_LT(dist(back.b, {5, 8}), 1e-12);
}

TEST(CurveReading, ToleranceFollowsTheDrawingUnits) {
    ScriptedPrompt prompt;
    const std::string e =
        "0 ELLIPSE\n8 S\n10 0\n20 0\n11 40\n21 0\n40 0.5\n41 0\n42 6.283185307179586\n";
    EXPECT_EQ(read_dxf(with_header("9 $INSUNITS\n70 4\n", e), prompt).curve_tolerance, kMm);
    EXPECT_EQ(read_dxf(with_header("9 $INSUNITS\n70 1\n", e), prompt).curve_tolerance, kInch);
    EXPECT_EQ(read_dxf(with_header("9 $INSUNITS\n70 6\n", e), prompt).curve_tolerance, kMm / 1000);
    // Without a unit of length, $MEASUREMENT decides; with neither, the
    // stricter inch value keeps within 0.001 mm either way.
    EXPECT_EQ(read_dxf(with_header("9 $INSUNITS\n70 0\n9 $MEASUREMENT\n70 1\n", e), prompt)
                  .curve_tolerance,
              kMm);
    EXPECT_EQ(read_dxf(with_header("9 $MEASUREMENT\n70 0\n", e), prompt).curve_tolerance, kInch);
    EXPECT_EQ(read_dxf(entities_section(e), prompt).curve_tolerance, kInch);
    // A header value that is not a number is passed over, not a broken header.
    const auto odd = read_dxf(
        with_header("9 $INSUNITS\n70 mm\n9 $EXTMIN\n10 -1\n20 -2\n9 $EXTMAX\n10 9\n20 8\n", e),
        prompt);
    EXPECT_EQ(odd.curve_tolerance, kInch);
    EXPECT_EQ(odd.min, (Point3D{-1, -2, 0}));
    EXPECT_TRUE(prompt.asked.empty());

    // A tighter tolerance takes more pieces.
    const std::size_t coarse =
        pieces_on(read_dxf(with_header("9 $INSUNITS\n70 4\n", e), prompt), "S").size();
    const std::size_t fine =
        pieces_on(read_dxf(with_header("9 $INSUNITS\n70 1\n", e), prompt), "S").size();
    EXPECT_GT(fine, coarse);
}

TEST(CurveReading, ConvertedDrawingWritesAndReadsBackTheSame) {
    // A long flat bulge next to a line: its arc has a radius of about 25000,
    // where ARC angles rounded to 3 decimals would move its ends by several
    // hundredths; written as a polyline segment the ends stay shared.
    ScriptedPrompt prompt;
    const auto d = read_dxf(metric(R"(0 LWPOLYLINE
8 P
70 0
10 0
20 0
42 0.001
10 100
20 0
10 100
20 20
42 -0.4
10 80
20 30
)" + spline(8, 3, {0, 0, 0, 0, 1, 1, 1, 1}, {{80, 30}, {60, 40}, {40, 20}, {20, 40}})),
                            prompt);
    ASSERT_TRUE(prompt.asked.empty());
    const std::string first = DXF_Writer(d.layers).text();
    EXPECT_NE(first.find("LWPOLYLINE"), std::string::npos);
    ScriptedPrompt again;
    const auto back = read_dxf(first, again);
    ASSERT_TRUE(again.asked.empty());
    for (const char* layer : {"P", "S"}) {
        EXPECT_EQ(back.count(layer, "Line_"), d.count(layer, "Line_")) << layer;
        EXPECT_EQ(back.count(layer, "Arc_"), d.count(layer, "Arc_")) << layer;
        const auto before = pieces_on(d, layer), after = pieces_on(back, layer);
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            // Each coordinate rounded to 3 decimals.
            EXPECT_LT(dist(before[i].a, after[i].a), 0.00071) << layer << i;
            EXPECT_LT(dist(before[i].b, after[i].b), 0.00071) << layer << i;
            EXPECT_LT(std::fabs(point_on(before[i], 0.5).y - point_on(after[i], 0.5).y), 0.002)
                << layer << i;
        }
        // Still one chain, joined where it was.
        std::vector<Piece> all = pieces_on(back, "P");
        const auto s = pieces_on(back, "S");
        all.insert(all.end(), s.begin(), s.end());
        EXPECT_TRUE(walk_chain(all, {0, 0}, 1e-9).one_chain);
    }
    // And the converted drawing converts to itself.
    EXPECT_EQ(DXF_Writer(back.layers).text(), first);
}

} // namespace
} // namespace zeran
