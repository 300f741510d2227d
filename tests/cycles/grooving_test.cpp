#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "cycles/generators.h"
#include "generator_fixture.h"

namespace zeran {
namespace {

using testing::Move;
using testing::moves_of;
using testing::set_profile;
using testing::set_start;

void groove_params(TCanCycle& c, double depth_x, double depth_z, double tool_width) {
    c.Params.Feed = 50;
    c.Params.Speed = 600;
    c.Params.DepthCutX = depth_x;
    c.Params.DepthCutZ = depth_z;
    c.Params.PeckReturnX = 0.2;
    c.ToolWidth = tool_width;
}

// The feed moves that end a plunge: the deepest point of each plunge.
std::vector<Move> bottoms(const std::vector<Move>& moves) {
    std::vector<Move> out;
    for (std::size_t i = 0; i + 1 < moves.size(); ++i)
        if (moves[i].motion == kMotionLinear && moves[i + 1].motion == kMotionRapid)
            out.push_back(moves[i]);
    return out;
}

// Height of an external profile at z, taken over its non-vertical segments;
// -1e9 where the profile does not reach.
double surface_at(const std::vector<CyclePoint>& profile, double z) {
    double best = -1e9;
    for (std::size_t i = 1; i < profile.size(); ++i) {
        CyclePoint a = profile[i - 1], b = profile[i];
        if (a.Z == b.Z) continue;
        double lo = std::min(a.Z, b.Z), hi = std::max(a.Z, b.Z);
        if (z < lo || z > hi) continue;
        best = std::max(best, a.X + (b.X - a.X) * (z - a.Z) / (b.Z - a.Z));
    }
    return best;
}

// Every plunge bottom, with the insert spanning [z, z + width], stays on or
// above an external profile.
void expect_insert_clear(const std::vector<Move>& moves, const std::vector<CyclePoint>& profile,
                         double width) {
    for (const Move& m : bottoms(moves)) {
        for (int k = 0; k <= 20; ++k) {
            double z = m.z + width * (0.0005 + 0.999 * k / 20.0);
            EXPECT_GE(m.x, surface_at(profile, z) - 1e-6)
                << "insert at Z " << m.z << " cuts the part at Z " << z;
        }
    }
}

TEST(Grooving, RawGrooveIsCutToItsBottomWithTheInsertBetweenTheWalls) {
    // Issue example: the plunges must reach X 12, not stop at the top.
    TCanCycle c;
    groove_params(c, 10, 2, 3);
    std::vector<CyclePoint> profile{{15, -45}, {12, -45}, {12, -49}, {15, -49}};
    set_profile(c, {{15, -45}, {12, -45}, {12, -49}, {15, -49}});
    set_start(c, 17, -43, true, true);
    ASSERT_TRUE(generate_grooving(c)) << c.FailReason;
    auto m = moves_of(c);
    auto b = bottoms(m);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_DOUBLE_EQ(b[0].x, 12);
    EXPECT_DOUBLE_EQ(b[0].z, -48);
    EXPECT_DOUBLE_EQ(b[1].x, 12);
    EXPECT_DOUBLE_EQ(b[1].z, -49);
    // Starts and ends at the start point; the plunge rapids carry feed 0.
    EXPECT_EQ(m.front().motion, kMotionRapid);
    EXPECT_DOUBLE_EQ(m.front().x, 17);
    EXPECT_DOUBLE_EQ(m.back().z, -43);
    EXPECT_DOUBLE_EQ(m.back().x, 17);
    EXPECT_EQ(m[2].motion, kMotionRapid);
    EXPECT_EQ(m[2].feed, 0);
    EXPECT_EQ(m[3].feed, 50);
    expect_insert_clear(m, profile, 3);
}

TEST(Grooving, GrooveOneToolWideSurvivesRoundingNoise) {
    // Drawing x 64.1 and 61.1 with the datum at x 100.
    TCanCycle c;
    groove_params(c, 10, 2, 3);
    const double near = 64.1 - 100, far = 61.1 - 100;
    set_profile(c, {{15, near}, {12, near}, {12, far}, {15, far}});
    set_start(c, 17, -30, true, true);
    ASSERT_TRUE(generate_grooving(c));
    auto b = bottoms(moves_of(c));
    ASSERT_FALSE(b.empty());
    for (const Move& m : b) {
        EXPECT_NEAR(m.z, far, 1e-9);
        EXPECT_DOUBLE_EQ(m.x, 12);
    }
}

TEST(Grooving, LastPlungeKeepsTheInsertOffTheFarWall) {
    // Start on the minimum-Z side: the insert spans [Z, Z + 3] and must not
    // reach past the wall at -21.
    TCanCycle c;
    groove_params(c, 10, 2, 3);
    std::vector<CyclePoint> profile{{15, -25}, {12, -25}, {12, -21}, {15, -21}};
    set_profile(c, {{15, -25}, {12, -25}, {12, -21}, {15, -21}});
    set_start(c, 17, -28, true, false);
    ASSERT_TRUE(generate_grooving(c));
    auto m = moves_of(c);
    auto b = bottoms(m);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_DOUBLE_EQ(b[0].z, -25);
    EXPECT_DOUBLE_EQ(b[1].z, -24);
    for (const Move& mv : m)
        if (mv.motion == kMotionLinear) {
            EXPECT_LE(mv.z + 3, -21 + 1e-9);
        }
    expect_insert_clear(m, profile, 3);
}

TEST(Grooving, StepNeverWiderThanTheInsert) {
    // A step of 7.5 with a 5 mm insert: the 5 mm groove still gets its plunge,
    // and a 12 mm groove is cleared without ribs.
    TCanCycle narrow;
    groove_params(narrow, 10, 7.5, 5);
    set_profile(narrow, {{15, -30}, {12, -30}, {12, -35}, {15, -35}});
    set_start(narrow, 17, -28, true, true);
    ASSERT_TRUE(generate_grooving(narrow));
    auto nb = bottoms(moves_of(narrow));
    ASSERT_FALSE(nb.empty());
    for (const Move& m : nb) EXPECT_DOUBLE_EQ(m.z, -35);

    for (bool z_side : {true, false}) {
        TCanCycle wide;
        groove_params(wide, 10, 7.5, 3);
        if (z_side) {
            set_profile(wide, {{15, -30}, {12, -30}, {12, -42}, {15, -42}});
            set_start(wide, 17, -28, true, true);
        } else {
            set_profile(wide, {{15, -42}, {12, -42}, {12, -30}, {15, -30}});
            set_start(wide, 17, -45, true, false);
        }
        ASSERT_TRUE(generate_grooving(wide));
        auto wb = bottoms(moves_of(wide));
        std::vector<double> zs;
        for (const Move& m : wb) zs.push_back(m.z);
        std::sort(zs.begin(), zs.end());
        ASSERT_FALSE(zs.empty());
        EXPECT_DOUBLE_EQ(zs.front(), -42);
        EXPECT_DOUBLE_EQ(zs.back(), -33);
        for (std::size_t i = 1; i < zs.size(); ++i) EXPECT_LE(zs[i] - zs[i - 1], 3 + 1e-9);
        for (const Move& m : wb) EXPECT_DOUBLE_EQ(m.x, 12);
    }
}

TEST(Grooving, DeepPlungeIsPecked) {
    // From X 20 down to 17.5 with pecks of 1 and a return of 0.2.
    TCanCycle c;
    groove_params(c, 1, 2, 2);
    set_profile(c, {{17.5, -10}, {17.5, -12}});
    set_start(c, 20, -5, true, true);
    ASSERT_TRUE(generate_grooving(c));
    auto m = moves_of(c);
    // Rapid to S, rapid to S + A, then the first plunge at Z -12.
    ASSERT_GE(m.size(), 8u);
    EXPECT_EQ(m[2].motion, kMotionRapid);
    EXPECT_DOUBLE_EQ(m[2].z, -12);
    std::vector<double> xs;
    for (std::size_t i = 3; i < 8; ++i) {
        EXPECT_EQ(m[i].motion, kMotionLinear);
        EXPECT_DOUBLE_EQ(m[i].z, -12);
        xs.push_back(m[i].x);
    }
    EXPECT_EQ(xs, (std::vector<double>{19, 19.2, 18, 18.2, 17.5}));

    // A plunge no deeper than the peck depth is one feed move.
    TCanCycle shallow;
    groove_params(shallow, 5, 2, 2);
    set_profile(shallow, {{17.5, -10}, {17.5, -12}});
    set_start(shallow, 20, -5, true, true);
    ASSERT_TRUE(generate_grooving(shallow));
    auto sm = moves_of(shallow);
    EXPECT_EQ(sm[3].motion, kMotionLinear);
    EXPECT_EQ(sm[4].motion, kMotionRapid);
}

TEST(Grooving, BoreGrooveFromTheMinimumXSide) {
    // An internal groove: the tool comes from below and plunges upwards.
    TCanCycle c;
    groove_params(c, 0.8, 1, 2);
    set_profile(c, {{10, -20}, {12, -20}, {12, -26}, {10, -26}});
    set_start(c, 8, -15, false, true);
    ASSERT_TRUE(generate_grooving(c));
    auto b = bottoms(moves_of(c));
    ASSERT_FALSE(b.empty());
    for (const Move& m : b) {
        EXPECT_DOUBLE_EQ(m.x, 12);
        EXPECT_GE(m.z, -26 - 1e-9);
        EXPECT_LE(m.z + 2, -20 + 1e-9);
    }
    for (const Move& m : moves_of(c)) EXPECT_LE(m.x, 12 + 1e-9);
}

TEST(Grooving, AbsurdStepsFailWithAReason) {
    TCanCycle tiny;
    groove_params(tiny, 1, 1e-9, 0);
    set_profile(tiny, {{15, -10}, {12, -10}, {12, -50}, {15, -50}});
    set_start(tiny, 17, -5, true, true);
    EXPECT_FALSE(generate_grooving(tiny));
    EXPECT_FALSE(tiny.FailReason.empty());
    EXPECT_LT(tiny.Moves.size(), 10u);

    TCanCycle negative;
    groove_params(negative, -1, 2, 3);
    set_profile(negative, {{15, -10}, {12, -10}, {12, -50}});
    set_start(negative, 17, -5, true, true);
    EXPECT_FALSE(generate_grooving(negative));
    EXPECT_FALSE(negative.FailReason.empty());

    TCanCycle not_finite;
    groove_params(not_finite, 1, std::nan(""), 3);
    set_profile(not_finite, {{15, -10}, {12, -10}});
    set_start(not_finite, 17, -5, true, true);
    EXPECT_FALSE(generate_grooving(not_finite));

    TCanCycle bad_point;
    groove_params(bad_point, 1, 2, 3);
    set_profile(bad_point, {{15, -10}, {12, std::nan("")}, {12, -20}});
    set_start(bad_point, 17, -5, true, true);
    EXPECT_FALSE(generate_grooving(bad_point));
    EXPECT_FALSE(bad_point.FailReason.empty());
}

} // namespace
} // namespace zeran
