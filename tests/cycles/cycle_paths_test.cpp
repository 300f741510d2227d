// The worked examples: roughing retracts and pass spacing, pattern repeat
// offsets, the finishing path's shape and the linear cycle.
#include "cycle_builder.h"
#include "path_checks.h"

#include <gtest/gtest.h>

namespace zeran::testing {
namespace {

const std::vector<Seg> kShaft{line_seg({0, 0}, {10, 0}), line_seg({10, 0}, {10, -20}),
                              line_seg({10, -20}, {20, -20}), line_seg({20, -20}, {20, -40})};

// The feed moves of the passes (before the closing contour) and the rapid
// that follows each.
struct Pass {
    CyclePoint cut_end;
    CyclePoint retract;
};

std::vector<Pass> passes_of(const TCanCycle& c) {
    std::vector<Pass> out;
    for (std::size_t i = 1; i + 1 < c.Moves.size(); ++i) {
        const TCNC_Groups& m = *c.Moves[i];
        if (m.Motion() == kMotionLinear && c.Moves[i - 1]->Motion() == kMotionRapid &&
            c.Moves[i - 1]->Words[kWordFeed] == 0)
            out.push_back({end_of(m), end_of(*c.Moves[i + 1])});
    }
    return out;
}

TEST(RoughingPaths, RetractBeyondTheDepthBecomesDepthLessATenthAndPassesStayOneDepthApart) {
    TCycleParams p = default_params();
    p.DepthCutX = 1;
    p.RetractX = 2;
    BuiltCycle b = build_cycle(CycleKind::AlongX, kShaft, {25, 5}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    const auto passes = passes_of(c);
    ASSERT_GE(passes.size(), 20u);
    for (std::size_t i = 0; i < passes.size(); ++i) {
        EXPECT_NEAR(passes[i].retract.X - passes[i].cut_end.X, 0.9, 1e-12);
        EXPECT_NEAR(passes[i].retract.Z - passes[i].cut_end.Z, 0.9, 1e-12);
        if (i > 0) {
            EXPECT_NEAR(passes[i - 1].cut_end.X - passes[i].cut_end.X, 1.0, 1e-12);
        }
    }
    // First level one depth inside the start point, at the last profile Z.
    EXPECT_NEAR(passes.front().cut_end.X, 24, 1e-12);
    EXPECT_NEAR(passes.front().cut_end.Z, -40, 1e-12);
}

TEST(RoughingPaths, AlongZTakesItsLevelsInZ) {
    TCycleParams p = default_params();
    p.DepthCutZ = 2;
    p.RetractZ = 0.5;
    BuiltCycle b = build_cycle(CycleKind::AlongZ, kShaft, {25, 5}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    const auto passes = passes_of(c);
    ASSERT_GE(passes.size(), 10u);
    for (std::size_t i = 1; i < passes.size(); ++i)
        EXPECT_NEAR(passes[i - 1].cut_end.Z - passes[i].cut_end.Z, 2.0, 1e-12);
    // Passes feed along X down to the profile: to the axis in front of the
    // face, to X 10 over the small diameter, to 20 beyond it.
    for (const Pass& pass : passes) {
        const double expected = pass.cut_end.Z > 0 ? 0 : pass.cut_end.Z > -20 ? 10 : 20;
        EXPECT_NEAR(pass.cut_end.X, expected, 1e-12) << "at Z " << pass.cut_end.Z;
    }
}

TEST(PatternRepeatPaths, PassesLieFourTwoAndZeroOutsideTheProfile) {
    TCycleParams p = default_params();
    p.DepthCutX = 6;
    p.DepthCutZ = 0;
    p.Repeats = 3;
    BuiltCycle b = build_cycle(CycleKind::PatternRepeat, kShaft, {30, 5}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    const CyclePoint s = c.GetStartPoint();
    // Each pass: two rapids in, the profile (5 records), two rapids out.
    ASSERT_EQ(c.Moves.size(), 1u + 3 * (2 + 5 + 2) + 1);
    EXPECT_TRUE(near(end_of(*c.Moves.front()), s));
    EXPECT_TRUE(near(end_of(*c.Moves.back()), s));
    const double offsets[] = {4, 2, 0};
    for (int k = 0; k < 3; ++k) {
        const std::size_t base = 1 + k * 9;
        EXPECT_TRUE(near(end_of(*c.Moves[base]), {s.X + offsets[k], s.Z}));
        EXPECT_TRUE(near(end_of(*c.Moves[base + 1]), {0 + offsets[k], s.Z}));
        EXPECT_TRUE(near(end_of(*c.Moves[base + 2]), {0 + offsets[k], 0}));
        EXPECT_TRUE(near(end_of(*c.Moves[base + 6]), {20 + offsets[k], -40}));
        EXPECT_TRUE(near(end_of(*c.Moves[base + 7]), {s.X + offsets[k], -40}));
        for (std::size_t i = base; i < base + 9; ++i)
            EXPECT_EQ(c.Moves[i]->Words[kWordFeed], p.Feed);
    }
}

TEST(PatternRepeatPaths, BoringShiftsThePassesTowardsSmallerX) {
    TCycleParams p = default_params();
    p.DepthCutX = 2;
    p.DepthCutZ = 0;
    p.Repeats = 2;
    const std::vector<Seg> bore{line_seg({20, 0}, {15, -5}), line_seg({15, -5}, {15, -20})};
    BuiltCycle b = build_cycle(CycleKind::PatternRepeat, bore, {10, 5}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    EXPECT_FALSE(c.XSide);
    EXPECT_NEAR(c.Moves[3]->X(), 19, 1e-12); // the first pass's first profile point
}

TEST(FinishingPaths, RapidsInTheProfileWithItsArcsAndAFeedOut) {
    const std::vector<Seg> prof{line_seg({0, 0}, {8, 0}), arc_seg({8, 0}, {10, -2}, {8, -2}, true),
                                line_seg({10, -2}, {10, -20})};
    TCycleParams p = default_params();
    BuiltCycle b = build_cycle(CycleKind::Finishing, prof, {15, 5}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    const CyclePoint s = c.GetStartPoint();
    const auto& m = c.Moves;
    ASSERT_GE(m.size(), 8u);
    EXPECT_EQ(m[0]->Motion(), kMotionRapid);
    EXPECT_TRUE(near(end_of(*m[0]), s));
    EXPECT_EQ(m[1]->Motion(), kMotionRapid);
    EXPECT_TRUE(near(end_of(*m[1]), {0, s.Z}));
    const TCNC_Groups* arc = nullptr;
    for (const TCNC_Groups* r : m)
        if (r->IsArc()) arc = r;
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->Motion(), kMotionCounterClockwise);
    EXPECT_TRUE(near({arc->CentreX(), arc->CentreZ()}, {8, -2}, 1e-9));
    EXPECT_NEAR(arc->Radius(), 2, 1e-9);
    EXPECT_NEAR(arc->Sweep(), 90, 1e-9);
    const std::size_t n = m.size();
    EXPECT_EQ(m[n - 3]->Motion(), kMotionLinear);
    EXPECT_TRUE(near(end_of(*m[n - 3]), {s.X, -20}));
    EXPECT_EQ(m[n - 2]->Motion(), kMotionRapid);
    EXPECT_TRUE(near(end_of(*m[n - 2]), s));
    EXPECT_EQ(m[n - 1]->Motion(), kMotionRapid);
    EXPECT_TRUE(near(end_of(*m[n - 1]), s));
    for (const TCNC_Groups* r : m) {
        EXPECT_EQ(r->Words[kWordFeed], p.Feed);
        EXPECT_EQ(r->Words[kWordSpeed], p.Speed);
    }
    EXPECT_TRUE(inconsistent_arcs(c, 1e-9).empty());
}

TEST(LinearPaths, OneArcIsTwoFeedMoves) {
    const std::vector<Seg> prof{arc_seg({0, 0}, {10, -10}, {0, -10}, true)};
    BuiltCycle b = build_cycle(CycleKind::Linear, prof, {15, 5}, default_params());
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    // To S, then straight to the profile's points: the arc's chord, with the
    // zero-length records of the prepared profile repeating a point.
    ASSERT_GE(c.Moves.size(), 3u);
    EXPECT_TRUE(near(end_of(*c.Moves[0]), c.GetStartPoint()));
    EXPECT_TRUE(near(end_of(*c.Moves[1]), {0, 0}, 1e-9));
    EXPECT_TRUE(near(end_of(*c.Moves.back()), {10, -10}, 1e-9));
    for (const TCNC_Groups* r : c.Moves) {
        EXPECT_EQ(r->Motion(), kMotionLinear);
        const CyclePoint e = end_of(*r);
        EXPECT_TRUE(near(e, c.GetStartPoint()) || near(e, {0, 0}, 1e-9) || near(e, {10, -10}, 1e-9))
            << point_text(e);
    }
}

} // namespace
} // namespace zeran::testing
