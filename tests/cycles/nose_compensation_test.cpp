// Nose radius compensation in the program, checked by sweeping the insert's
// round along the generated paths of seeded random profiles: the round must
// touch the profile and never enter the part.
#include "cycle_builder.h"
#include "cycles/kind_description.h"
#include "cycles/nose_offset.h"
#include "cycles/part_outline.h"

#include <gtest/gtest.h>

#include <random>

namespace zeran::testing {
namespace {

constexpr double kMmTolerance = 0.001;

// A profile the cycle can follow as it is: running along Z away from the
// start side (minus Z when `z_high`), rising on the outside and falling in a
// bore, so that nothing of it is an undercut the cycle would bridge.
struct Case {
    std::vector<Seg> profile;
    bool outside = true;
    bool z_high = true;
    double scale = 1; // 1 metric, 1 / 25.4 inch
    std::uint8_t units = 0;
};

double uniform(std::mt19937& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// The point `length` from `at` at `degrees` from the axis.
CyclePoint ahead(CyclePoint at, double degrees, double length, bool outside, bool z_high) {
    const double a = degrees * std::numbers::pi / 180;
    return {at.X + (outside ? 1 : -1) * std::sin(a) * length,
            at.Z + (z_high ? -1 : 1) * std::cos(a) * length};
}

// An arc on the chord from `at`, bulging towards the tool (convex) or away;
// `k` is its radius in half chords.
Seg bulge(CyclePoint at, double degrees, double chord, double k, bool convex, bool outside,
          bool z_high) {
    const CyclePoint q = ahead(at, degrees, chord, outside, z_high);
    const CyclePoint mid{(at.X + q.X) / 2, (at.Z + q.Z) / 2};
    // Unit normal of the chord towards the tool's side.
    CyclePoint n{(q.Z - at.Z) / chord, -(q.X - at.X) / chord};
    if ((n.X > 0) != outside || (std::fabs(n.X) < 1e-12 && (n.Z > 0) != z_high)) n = {-n.X, -n.Z};
    const double radius = chord / 2 * k;
    const double h = std::sqrt(radius * radius - chord * chord / 4);
    const double off = convex ? -h : h;
    const CyclePoint c{mid.X + off * n.X, mid.Z + off * n.Z};
    const double turn = (at.Z - c.Z) * (q.X - c.X) - (at.X - c.X) * (q.Z - c.Z);
    return arc_seg(at, q, c, turn > 0);
}

Case scaled(std::vector<Seg> profile, bool outside, bool z_high, bool inch) {
    Case c{std::move(profile), outside, z_high, inch ? 1 / 25.4 : 1.0,
           static_cast<std::uint8_t>(inch)};
    const auto s = [&](CyclePoint& p) { p = {p.X * c.scale, p.Z * c.scale}; };
    for (Seg& seg : c.profile) {
        s(seg.from);
        s(seg.to);
        s(seg.centre);
    }
    return c;
}

Case random_case(std::mt19937& rng, bool outside, bool z_high, bool inch) {
    CyclePoint at{outside ? uniform(rng, 4, 8) : uniform(rng, 25, 30), 0};
    std::vector<Seg> profile;
    const int n = std::uniform_int_distribution<int>(2, 6)(rng);
    for (int i = 0; i < n; ++i) {
        Seg s;
        if (uniform(rng, 0, 1) < 0.5) {
            s = line_seg(at, ahead(at, uniform(rng, 0, 90), uniform(rng, 1.5, 4), outside, z_high));
        } else {
            // Both ends' tangents within 0 to 90 degrees: the arc stays monotone.
            const double k = uniform(rng, 1.5, 4);
            const double half = std::asin(1 / k) * 180 / std::numbers::pi;
            s = bulge(at, uniform(rng, half, 90 - half), uniform(rng, 0.4, 5), k,
                      uniform(rng, 0, 1) < 0.5, outside, z_high);
        }
        profile.push_back(s);
        at = s.to;
    }
    return scaled(std::move(profile), outside, z_high, inch);
}

OutlinePiece piece(const Seg& s) {
    return s.arc ? outline_arc(s.from, s.to, s.centre, s.ccw) : outline_line(s.from, s.to);
}

double distance_to_profile(CyclePoint p, const std::vector<Seg>& profile) {
    double best = 1e300;
    for (const Seg& s : profile) best = std::min(best, distance_to(p, piece(s)));
    return best;
}

BuiltCycle generated(CycleKind kind, const Case& c, double radius, int orientation,
                     NoseCompensation mode = NoseCompensation::InProgram) {
    TCycleParams p = default_params(c.units);
    p.Compensation = static_cast<std::int32_t>(mode);
    p.DepthCutX = p.DepthCutZ = 1.5 * c.scale;
    p.RetractX = p.RetractZ = 0.5 * c.scale;
    double top = 0, bottom = 1e300;
    for (const Seg& s : c.profile)
        for (CyclePoint q : {s.from, s.to}) {
            top = std::max(top, q.X);
            bottom = std::min(bottom, q.X);
        }
    double first = c.profile.front().from.Z, last = c.profile.back().to.Z;
    const double z =
        c.z_high ? std::max(first, last) + 5 * c.scale : std::min(first, last) - 5 * c.scale;
    const CyclePoint start{c.outside ? top + 5 * c.scale : bottom - 4 * c.scale, z};
    BuiltCycle b = build_cycle(kind, c.profile, start, p);
    b.cycle->NoseRadius = radius;
    b.cycle->NoseOrientation = orientation;
    return b;
}

// Sweeps the round along moves [first, last] of the cycle. `touching`: each
// centre must also lie at the radius from the profile (the finishing pass).
void sweep_round(const TCanCycle& cycle, const Case& c, double radius, std::size_t first,
                 std::size_t last, bool touching, const std::string& what) {
    const double tol = kMmTolerance * c.scale;
    const Region part = part_region(c.profile, c.outside ? 0 : 40 * c.scale);
    const CyclePoint tip = tip_direction(cycle.NoseOrientation, cycle.XSide, cycle.ZSide);
    const auto near_uncut = [&](CyclePoint q) {
        for (const UncutPlace& u : cycle.Uncut)
            if (std::hypot(q.X - u.at.X, q.Z - u.at.Z) < 3 * radius) return true;
        return false;
    };
    int faults = 0;
    for (std::size_t i = first; i <= last && faults < 3; ++i) {
        const TCNC_Groups& m = *cycle.Moves[i];
        const CyclePoint from{cycle.Moves[i - 1]->X(), cycle.Moves[i - 1]->Z()};
        for (const CyclePoint& q : move_points(from, m, radius / 20)) {
            const CyclePoint centre{q.X - radius * tip.X, q.Z - radius * tip.Z};
            const double d = distance_to_profile(centre, c.profile);
            const bool enters = d < radius - tol || part.inside(centre);
            const bool apart = touching && d > radius + tol && !near_uncut(centre);
            if (enters || apart) {
                ADD_FAILURE() << what << ": move " << i << " round at " << point_text(centre)
                              << " lies " << d << " from the profile, radius " << radius;
                ++faults;
                break;
            }
        }
    }
}

std::string describe_case(const Case& c, double radius, int orientation, int seed) {
    return std::string(c.outside ? "outside" : "inside") + (c.z_high ? " to -Z" : " to +Z") +
           (c.units ? " inch" : " metric") + " r=" + std::to_string(radius) + " orientation " +
           std::to_string(orientation) + " seed " + std::to_string(seed);
}

constexpr double kRadii[] = {0.2, 0.4, 0.8, 1.2, 1.6};

void check_finishing(const Case& c, int seed) {
    for (double r_mm : kRadii) {
        const double r = r_mm * c.scale;
        for (int orientation : {0, 1 + seed % 9}) {
            BuiltCycle b = generated(CycleKind::Finishing, c, r, orientation);
            const std::string what = describe_case(c, r, orientation, seed);
            ASSERT_TRUE(b.cycle->Generate()) << what << ": " << b.cycle->LastError();
            // Rapid to the start, rapid over the first point, feed to it;
            // after the profile a feed out and two rapids.
            const auto& moves = b.cycle->Moves;
            ASSERT_GT(moves.size(), 6u) << what;
            sweep_round(*b.cycle, c, r, 3, moves.size() - 4, true, what);
        }
    }
}

TEST(NoseCompensation, RoundFollowsTapersOfEveryAngle) {
    int seed = 0;
    for (bool outside : {true, false})
        for (bool z_high : {true, false})
            for (bool inch : {false, true})
                for (double degrees = 0; degrees <= 90; degrees += 2.5) {
                    const CyclePoint a{outside ? 8.0 : 20.0, 0};
                    const Seg flat = line_seg(a, ahead(a, 0, 3, outside, z_high));
                    const Seg slope =
                        line_seg(flat.to, ahead(flat.to, degrees, 4, outside, z_high));
                    const Seg after = line_seg(slope.to, ahead(slope.to, 0, 3, outside, z_high));
                    check_finishing(scaled({flat, slope, after}, outside, z_high, inch), ++seed);
                }
}

TEST(NoseCompensation, RoundFollowsRandomProfilesOfLinesAndArcs) {
    std::mt19937 rng(16);
    for (int seed = 0; seed < 64; ++seed)
        check_finishing(random_case(rng, seed % 2 == 0, seed % 4 < 2, seed % 8 >= 4), seed);
}

TEST(NoseCompensation, RoughingPassesKeepTheRoundOutOfThePart) {
    std::mt19937 rng(61);
    for (int seed = 0; seed < 24; ++seed) {
        const Case c = random_case(rng, seed % 2 == 0, seed % 4 < 2, seed % 8 >= 4);
        for (CycleKind kind : {CycleKind::AlongX, CycleKind::AlongZ, CycleKind::PatternRepeat}) {
            const double r = 0.8 * c.scale;
            BuiltCycle b = generated(kind, c, r, 0);
            const std::string what =
                std::string(cycle_short_name(kind)) + " " + describe_case(c, r, 0, seed);
            ASSERT_TRUE(b.cycle->Generate()) << what << ": " << b.cycle->LastError();
            sweep_round(*b.cycle, c, r, 1, b.cycle->Moves.size() - 1, false, what);
        }
    }
}

TEST(NoseCompensation, RoughingPassesReachAsFarAsWithoutTheNose) {
    // A shaft stepping up at Z -10: every level runs to the step or the end.
    const std::vector<Seg> profile{line_seg({8, 0}, {8, -10}), line_seg({8, -10}, {12, -10}),
                                   line_seg({12, -10}, {12, -30})};
    const Case c = scaled(profile, true, true, false);
    const double r = 0.8;
    BuiltCycle plain = generated(CycleKind::AlongX, c, 0, 0, NoseCompensation::None);
    BuiltCycle nose = generated(CycleKind::AlongX, c, r, 0);
    ASSERT_TRUE(plain.cycle->Generate());
    ASSERT_TRUE(nose.cycle->Generate());
    const auto feeds = [](const TCanCycle& cycle) {
        std::vector<CyclePoint> out;
        for (const TCNC_Groups* m : cycle.Moves)
            if (m->Motion() == kMotionLinear) out.push_back({m->X(), m->Z()});
        return out;
    };
    const auto a = feeds(*plain.cycle), b = feeds(*nose.cycle);
    // The passes before the contour: the same levels, ends moved by the round.
    std::size_t passes = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()) && a[i].X > 12.5; ++i, ++passes) {
        EXPECT_NEAR(a[i].X, b[i].X, 1e-9) << i;
        EXPECT_LE(std::fabs(a[i].Z - b[i].Z), 2 * r) << i;
    }
    EXPECT_GT(passes, 0u);
}

TEST(NoseCompensation, PathsStayAsTheyWereWithoutARadiusOrACompensation) {
    std::mt19937 rng(7);
    const auto points_of = [](const TCNC_Groups& m) {
        return std::array<double, 6>{
            static_cast<double>(m.Motion()), m.X(), m.Z(), m.CentreX(), m.CentreZ(), m.Radius()};
    };
    const auto points = [&](const TCanCycle& c) {
        std::vector<std::array<double, 6>> out;
        for (const TCNC_Groups* m : c.Moves) out.push_back(points_of(*m));
        return out;
    };
    for (int seed = 0; seed < 6; ++seed) {
        const Case c = random_case(rng, seed % 2 == 0, true, false);
        for (int k = 0; k < kCycleKindCount; ++k) {
            const auto kind = static_cast<CycleKind>(k);
            if (!takes_nose_compensation(kind)) continue;
            BuiltCycle plain = generated(kind, c, 0, 0, NoseCompensation::None);
            ASSERT_TRUE(plain.cycle->Generate());
            for (auto [radius, mode] : {std::pair{0.0, NoseCompensation::InProgram},
                                        std::pair{0.8, NoseCompensation::None}}) {
                BuiltCycle b = generated(kind, c, radius, 2, mode);
                ASSERT_TRUE(b.cycle->Generate());
                EXPECT_EQ(points(*b.cycle), points(*plain.cycle)) << k << " r=" << radius;
                EXPECT_TRUE(b.cycle->Uncut.empty());
            }
            // In the control the path is the profile's own: the moves of the
            // plain path all come, in order, with only the marked lead-ins
            // and lead-outs and rapids in the air between them.
            BuiltCycle b = generated(kind, c, 0.8, 2, NoseCompensation::InControl);
            ASSERT_TRUE(b.cycle->Generate());
            EXPECT_TRUE(b.cycle->Uncut.empty());
            const auto wanted = points(*plain.cycle);
            std::size_t next = 0;
            for (const TCNC_Groups* m : b.cycle->Moves) {
                const auto p = points_of(*m);
                if (next < wanted.size() && p == wanted[next]) {
                    ++next;
                    continue;
                }
                EXPECT_TRUE(
                    m->GroupSet[kGroupCutterComp] || m->Motion() == kMotionRapid ||
                    (next > 0 && p[1] == wanted[next - 1][1] && p[2] == wanted[next - 1][2]))
                    << k << ": a move the plain path lacks";
            }
            EXPECT_EQ(next, wanted.size()) << k;
        }
    }
}

TEST(NoseOffset, CornersAreRoundedOrTrimmedAndTightPlacesReported) {
    const double r = 1;
    // Outside, along minus Z: a shoulder down (convex corner then concave).
    const std::vector<OutlinePiece> step = {outline_line({10, 0}, {10, -5}),
                                            outline_line({10, -5}, {6, -5}),
                                            outline_line({6, -5}, {6, -10})};
    ASSERT_EQ(tool_side(step, true, true), OffsetSide::Right);
    OffsetPath path = offset_profile(step, r, OffsetSide::Right, 1e-6);
    ASSERT_EQ(path.pieces.size(), 4u); // the convex corner got its round
    EXPECT_TRUE(path.pieces[1].arc);
    EXPECT_EQ(path.pieces[1].centre, (CyclePoint{10, -5}));
    EXPECT_TRUE(path.uncut.empty());

    // A shoulder up: the concave corner is trimmed, nothing is added.
    const std::vector<OutlinePiece> up = {outline_line({6, 0}, {6, -5}),
                                          outline_line({6, -5}, {10, -5})};
    path = offset_profile(up, r, OffsetSide::Right, 1e-6);
    ASSERT_EQ(path.pieces.size(), 2u);
    EXPECT_NEAR(path.pieces[0].b.X, 7, 1e-9);
    EXPECT_NEAR(path.pieces[0].b.Z, -4, 1e-9);

    // A concave fillet smaller than the nose is reported where it is and not gouged.
    const std::vector<OutlinePiece> fillet = {outline_line({6, 0}, {6, -4.5}),
                                              outline_arc({6, -4.5}, {6.5, -5}, {6.5, -4.5}, false),
                                              outline_line({6.5, -5}, {10, -5})};
    path = offset_profile(fillet, r, OffsetSide::Right, 1e-6);
    ASSERT_EQ(path.uncut.size(), 1u);
    EXPECT_DOUBLE_EQ(path.uncut[0].radius, 0.5);
    for (const OutlinePiece& p : path.pieces)
        for (double t = 0; t <= 1; t += 0.05)
            for (const OutlinePiece& f : fillet)
                EXPECT_GE(distance_to(point_along(p, t), f), r - 1e-9);

    // A groove narrower than the nose: its bottom is passed over and reported.
    const std::vector<OutlinePiece> groove = {
        outline_line({10, 0}, {10, -5}), outline_line({10, -5}, {7, -5}),
        outline_line({7, -5}, {7, -6.5}), outline_line({7, -6.5}, {10, -6.5}),
        outline_line({10, -6.5}, {10, -10})};
    path = offset_profile(groove, r, OffsetSide::Right, 1e-6);
    EXPECT_TRUE(std::any_of(path.uncut.begin(), path.uncut.end(), [](const UncutPlace& u) {
        return u.at == CyclePoint{7, -5.75};
    }));
    for (const OutlinePiece& p : path.pieces)
        for (double t = 0; t <= 1; t += 0.05)
            for (const OutlinePiece& g : groove)
                EXPECT_GE(distance_to(point_along(p, t), g), r - 1e-9);

    // The tips of the table's positions, and the ones the sides imply.
    EXPECT_EQ(tip_direction(2, true, true), (CyclePoint{-1, -1}));
    EXPECT_EQ(tip_direction(0, true, true), (CyclePoint{-1, -1}));
    EXPECT_EQ(tip_direction(0, false, true), (CyclePoint{1, -1}));
    EXPECT_EQ(tip_direction(9, true, true), (CyclePoint{0, 0}));
    EXPECT_EQ(implied_orientation(false, false), 4);
}

TEST(NoseOffset, ZigzagProfilesGiveAConnectedPathClearOfEveryPiece) {
    // Steps, grooves and notches of any size, in any direction: what the
    // round cannot follow it must pass over, never cut into.
    std::mt19937 rng(1616);
    for (int seed = 0; seed < 300; ++seed) {
        std::vector<OutlinePiece> profile;
        CyclePoint at{10, 0};
        const int n = std::uniform_int_distribution<int>(2, 9)(rng);
        for (int i = 0; i < n; ++i) {
            const double a = uniform(rng, -170, 10) * std::numbers::pi / 180;
            const CyclePoint to{at.X + std::sin(a) * uniform(rng, 0.1, 4),
                                at.Z + std::cos(a) * uniform(rng, 0.1, 4)};
            if (uniform(rng, 0, 1) < 0.4) {
                const double chord = std::hypot(to.X - at.X, to.Z - at.Z);
                const double h =
                    chord / 2 * uniform(rng, 0.1, 2) * (uniform(rng, 0, 1) < 0.5 ? 1 : -1);
                const CyclePoint mid{(at.X + to.X) / 2, (at.Z + to.Z) / 2};
                const CyclePoint c{mid.X - h * (to.Z - at.Z) / chord,
                                   mid.Z + h * (to.X - at.X) / chord};
                profile.push_back(outline_arc(at, to, c, uniform(rng, 0, 1) < 0.5));
            } else {
                profile.push_back(outline_line(at, to));
            }
            at = to;
        }
        const double r = uniform(rng, 0.2, 1.6);
        const OffsetSide side = seed % 2 ? OffsetSide::Left : OffsetSide::Right;
        const OffsetPath path = offset_profile(profile, r, side, 1e-5);
        for (std::size_t k = 0; k < path.pieces.size(); ++k) {
            const OutlinePiece& p = path.pieces[k];
            if (k > 0) {
                const CyclePoint e = path.pieces[k - 1].b;
                EXPECT_LT(std::hypot(e.X - p.a.X, e.Z - p.a.Z), 1e-4) << seed << " piece " << k;
            }
            for (double t = 0; t <= 1.0001; t += 0.02)
                for (const OutlinePiece& g : profile)
                    ASSERT_GE(distance_to(point_along(p, t), g), r - 1e-4)
                        << "seed " << seed << " piece " << k << " t " << t;
        }
    }
}

} // namespace
} // namespace zeran::testing
