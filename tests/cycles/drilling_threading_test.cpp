#include <gtest/gtest.h>

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

void drill_params(TCanCycle& c, double peck, double ret) {
    c.Params.Feed = 40;
    c.Params.Speed = 900;
    c.Params.DepthCutZ = peck;
    c.Params.PeckReturnZ = ret;
    c.ToolWidth = 8;
}

std::vector<double> zs_of(const std::vector<Move>& m) {
    std::vector<double> out;
    for (const Move& mv : m) out.push_back(mv.z);
    return out;
}

TEST(Drilling, PecksBackOffAndContinueFromTheDepthReached) {
    TCanCycle c;
    drill_params(c, 5, 1);
    set_profile(c, {{4, 0}, {4, -12}});
    set_start(c, 0, 5, true, false); // ZSide is decided by the cycle itself
    ASSERT_TRUE(generate_drilling(c));
    auto m = moves_of(c);
    EXPECT_EQ(zs_of(m), (std::vector<double>{5, 5, 0, 1, -5, -4, -10, -9, -12, 5, 5}));
    EXPECT_TRUE(c.ZSide);
    ASSERT_EQ(m.size(), 11u);
    EXPECT_EQ(m.front().motion, kMotionRapid);
    EXPECT_EQ(m.back().motion, kMotionRapid);
    for (std::size_t i = 1; i + 1 < m.size(); ++i) {
        EXPECT_EQ(m[i].motion, kMotionLinear);
        EXPECT_EQ(m[i].x, 0);
    }
    for (const Move& mv : m) EXPECT_EQ(mv.feed, 40);
}

TEST(Drilling, BottomCasesAndDirection) {
    // An exact multiple: no retract after the last peck.
    TCanCycle exact;
    drill_params(exact, 5, 1);
    set_profile(exact, {{4, 0}, {4, -10}});
    set_start(exact, 0, 5, true, true);
    ASSERT_TRUE(generate_drilling(exact));
    EXPECT_EQ(zs_of(moves_of(exact)), (std::vector<double>{5, 5, 0, 1, -5, -4, -10, 5, 5}));

    // A bottom at the start Z: no pecks.
    TCanCycle flat;
    drill_params(flat, 5, 1);
    set_profile(flat, {{4, 0}, {4, 5}});
    set_start(flat, 0, 5, true, true);
    ASSERT_TRUE(generate_drilling(flat));
    EXPECT_EQ(zs_of(moves_of(flat)), (std::vector<double>{5, 5, 5, 5, 5}));

    // A bottom beyond the start in +Z: the pecks run in +Z.
    TCanCycle up;
    drill_params(up, 4, 0.5);
    set_profile(up, {{4, 12}, {4, 20}});
    set_start(up, 0, 7, true, true);
    ASSERT_TRUE(generate_drilling(up));
    EXPECT_FALSE(up.ZSide);
    EXPECT_EQ(zs_of(moves_of(up)),
              (std::vector<double>{7, 7, 11, 10.5, 15, 14.5, 19, 18.5, 20, 7, 7}));
}

TEST(Drilling, AbsurdPeckFailsWithAReason) {
    TCanCycle c;
    drill_params(c, 1e-9, 0);
    set_profile(c, {{4, 0}, {4, -50}});
    set_start(c, 0, 5, true, true);
    EXPECT_FALSE(generate_drilling(c));
    EXPECT_FALSE(c.FailReason.empty());
    EXPECT_TRUE(c.Moves.empty());

    TCanCycle zero;
    drill_params(zero, 0, 0);
    set_profile(zero, {{4, 0}, {4, -50}});
    set_start(zero, 0, 5, true, true);
    EXPECT_FALSE(generate_drilling(zero));
}

TEST(Threading, OneRapidThenThePairWithAllTheThreadData) {
    TCanCycle c;
    c.Params.Feed = 100;
    c.Params.Speed = 500;
    c.Params.DepthThread = 0.92;
    c.Params.DepthFirst = 0.25;
    c.Params.Pitch = 1.5;
    c.Params.MinCut = 0.05;
    c.Params.FinishPass = 2;
    c.Params.TipAngle = 60;
    c.Params.Chamfer = 1;
    set_profile(c, {{10, 0}, {10, -10}, {10, -20}});
    set_start(c, 12, 3, true, true);
    c.Allowance = {-0.1, 0};
    ASSERT_TRUE(generate_threading(c));
    ASSERT_EQ(c.Moves.size(), 3u);
    const TCNC_Groups& rapid = *c.Moves[0];
    EXPECT_EQ(rapid.Motion(), kMotionRapid);
    EXPECT_EQ(rapid.X(), 12);
    EXPECT_EQ(rapid.Z(), 3);
    EXPECT_EQ(rapid.Words[kWordFeed], 100);

    const TCNC_Groups& s = *c.Moves[1];
    const TCNC_Groups& e = *c.Moves[2];
    EXPECT_EQ(s.Groups[kGroupMotion], kMotionThread);
    EXPECT_EQ(e.Groups[kGroupMotion], kMotionThread);
    for (const TCNC_Groups* r : {&s, &e}) {
        for (bool set : r->WordSet) EXPECT_FALSE(set);
        for (bool set : r->GroupSet) EXPECT_FALSE(set);
    }
    EXPECT_EQ(s.X(), 10);
    EXPECT_EQ(s.Z(), 0);
    EXPECT_EQ(s.Words[kWordThread7], 2);
    EXPECT_EQ(s.Words[kWordThread8], 0.05);
    EXPECT_EQ(s.Words[kWordRadius], -0.1);
    EXPECT_EQ(s.Words[kWordSweep], 60);
    EXPECT_EQ(s.Words[kWordThread18], 1);
    EXPECT_EQ(e.X(), 10);
    EXPECT_EQ(e.Z(), -20); // only the ends enter the block
    EXPECT_EQ(e.Words[kWordThread7], 0.92);
    EXPECT_EQ(e.Words[kWordThread8], 0.25);
    EXPECT_EQ(e.Words[kWordFeed], 1.5);
}

TEST(Threading, NonFiniteThreadDataFail) {
    TCanCycle c;
    c.Params.Pitch = INFINITY;
    set_profile(c, {{10, 0}, {10, -20}});
    set_start(c, 12, 3, true, true);
    EXPECT_FALSE(generate_threading(c));
    EXPECT_FALSE(c.FailReason.empty());
    EXPECT_TRUE(c.Moves.empty());
}

} // namespace
} // namespace zeran
