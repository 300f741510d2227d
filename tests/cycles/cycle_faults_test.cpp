// Profiles that used to gouge, hang, refuse for ever or write absurd moves.
#include "cycle_builder.h"
#include "path_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace zeran::testing {
namespace {

std::vector<Seg> reversed(std::vector<Seg> in) {
    std::reverse(in.begin(), in.end());
    for (Seg& s : in) {
        std::swap(s.from, s.to);
        s.ccw = !s.ccw;
    }
    return in;
}

TEST(RoughingFaults, TinyInchDepthRetractsHalfTheDepthOutOfThePart) {
    TCycleParams p = default_params(1);
    p.DepthCutX = 0.08;
    p.RetractX = 0.1;
    const std::vector<Seg> prof{line_seg({0, 0}, {0.4, 0}), line_seg({0.4, 0}, {0.4, -1}),
                                line_seg({0.4, -1}, {0.6, -1}), line_seg({0.6, -1}, {0.6, -2})};
    BuiltCycle b = build_cycle(CycleKind::AlongX, prof, {0.8, 0.2}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    int retracts = 0;
    for (std::size_t i = 1; i < c.Moves.size(); ++i) {
        const TCNC_Groups& prev = *c.Moves[i - 1];
        const TCNC_Groups& m = *c.Moves[i];
        if (prev.Motion() == kMotionLinear && m.Motion() == kMotionRapid &&
            i + 3 < c.Moves.size()) {
            EXPECT_NEAR(m.X() - prev.X(), 0.04, 1e-12);
            EXPECT_NEAR(m.Z() - prev.Z(), 0.04, 1e-12);
            ++retracts;
        }
    }
    EXPECT_GT(retracts, 5);
    EXPECT_TRUE(moves_inside_part(c, part_region(prof, 0), 1e-6, 0.001).empty());
}

TEST(RoughingFaults, PassesStayOneDepthApartWithAClampedRetract) {
    TCycleParams p = default_params();
    p.DepthCutX = 1.5;
    p.RetractX = 2;
    const std::vector<Seg> prof{line_seg({0, 0}, {20, 0}), line_seg({20, 0}, {20, -30})};
    BuiltCycle b = build_cycle(CycleKind::AlongX, prof, {25, 5}, p);
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    // About 25 / 1.5 passes of four moves, plus the frame and the contour;
    // spacing them by depth - retract made hundreds.
    EXPECT_LT(c.Moves.size(), 90u);
}

TEST(RoughingFaults, ALevelAtAnArcsEdgeNeverHeadsForTheMarker) {
    const double r = 1.666667;
    const std::vector<Seg> prof{line_seg({0, 0}, {10, 0}), line_seg({10, 0}, {10, -4.8 + r}),
                                arc_seg({10, -4.8 + r}, {10 + r, -4.8}, {10 + r, -4.8 + r}, false),
                                line_seg({10 + r, -4.8}, {20, -4.8}),
                                line_seg({20, -4.8}, {20, -10})};
    for (CycleKind kind : {CycleKind::AlongX, CycleKind::AlongZ}) {
        TCycleParams p = default_params();
        p.DepthCutX = p.DepthCutZ = 0.5;
        p.RetractX = p.RetractZ = 0.1;
        BuiltCycle b = build_cycle(kind, prof, {25, 0.2}, p, {100, 50});
        TCanCycle& c = *b.cycle;
        ASSERT_TRUE(c.Generate()) << c.LastError();
        EXPECT_TRUE(absurd_moves(c, 1000).empty());
        EXPECT_TRUE(moves_inside_part(c, part_region(prof, 0), 0.002).empty());
    }
}

TEST(TrimArcsFaults, OffsetCopiesOfACoveStayOutOfTheCorner) {
    const std::vector<Seg> prof{line_seg({0, 0}, {16, 0}), line_seg({16, 0}, {16, -40}),
                                arc_seg({16, -40}, {16, -46}, {16, -43}, false),
                                line_seg({16, -46}, {16, -60})};
    const Region part = part_region(prof, 0);
    for (CycleKind kind : {CycleKind::AlongX, CycleKind::AlongZ, CycleKind::PatternRepeat}) {
        TCycleParams p = default_params();
        p.AllowanceX = 0.2;
        p.AllowanceZ = 0.1;
        BuiltCycle b = build_cycle(kind, prof, {20, 2}, p);
        TCanCycle& c = *b.cycle;
        ASSERT_TRUE(c.Generate()) << c.LastError();
        for (const TCNC_Groups* m : c.Moves) {
            if (m->Z() < -39 && m->Z() > -47) {
                EXPECT_GE(m->X(), 16) << point_text(end_of(*m));
            }
        }
        EXPECT_TRUE(moves_inside_part(c, part, 0.002).empty());
    }
    // Finishing still follows the cove.
    BuiltCycle b = build_cycle(CycleKind::Finishing, prof, {20, 2}, default_params());
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    const bool follows = std::any_of(c.Moves.begin(), c.Moves.end(), [](const TCNC_Groups* m) {
        return m->Motion() == kMotionClockwise && near({m->CentreX(), m->CentreZ()}, {16, -43});
    });
    EXPECT_TRUE(follows);
}

TEST(ToleranceFaults, SmallInchChamfersAndRadiiSurvive) {
    const std::vector<Seg> face{line_seg({0, 0}, {0.98, 0}), line_seg({0.98, 0}, {1.0, -0.02}),
                                line_seg({1.0, -0.02}, {1.0, -1})};
    BuiltCycle b = build_cycle(CycleKind::Finishing, face, {1.2, 0.2}, default_params(1));
    ASSERT_TRUE(b.cycle->Generate()) << b.cycle->LastError();
    EXPECT_EQ(*b.refusals, 0);
    bool chamfer_kept = false;
    for (const TCNC_Groups* m : b.cycle->Moves) chamfer_kept |= near(end_of(*m), {0.98, 0}, 1e-9);
    EXPECT_TRUE(chamfer_kept);

    // Picked the other way round: refused once, then accepted reversed.
    BuiltCycle r = build_cycle(CycleKind::Finishing, reversed(face), {1.2, 0.2}, default_params(1));
    EXPECT_FALSE(r.cycle->Generate());
    EXPECT_EQ(*r.refusals, 1);
    std::reverse(r.cycle->Elements.begin(), r.cycle->Elements.end());
    EXPECT_TRUE(r.cycle->Generate()) << r.cycle->LastError();

    // A 0.02 inch corner radius keeps its sweep.
    const std::vector<Seg> round{line_seg({0, 0}, {0.98, 0}),
                                 arc_seg({0.98, 0}, {1.0, -0.02}, {0.98, -0.02}, true),
                                 line_seg({1.0, -0.02}, {1.0, -1})};
    BuiltCycle a = build_cycle(CycleKind::Finishing, round, {1.2, 0.2}, default_params(1));
    ASSERT_TRUE(a.cycle->Generate());
    const bool arc =
        std::any_of(a.cycle->Moves.begin(), a.cycle->Moves.end(),
                    [](const TCNC_Groups* m) { return m->IsArc() && m->Sweep() > 89; });
    EXPECT_TRUE(arc);
}

TEST(SideFaults, BoresCountAsInternal) {
    TCycleParams p = default_params();
    // A blind bore picked down to the axis.
    const std::vector<Seg> blind{line_seg({20, 0}, {20, -20}), line_seg({20, -20}, {0, -20})};
    BuiltCycle b = build_cycle(CycleKind::AlongX, blind, {10, 5}, p);
    ASSERT_TRUE(b.cycle->Generate()) << b.cycle->LastError();
    EXPECT_FALSE(b.cycle->XSide);
    EXPECT_GE(b.cycle->GetStartPoint().X, 0);
    EXPECT_NEAR(b.cycle->GetStartPoint().X, 10, 1e-12); // already clear of the wall

    // A bore line at one X, start below it: the start moves down, not into the wall.
    const std::vector<Seg> line{line_seg({15, 0}, {15, -30})};
    BuiltCycle t = build_cycle(CycleKind::Finishing, line, {14.5, 3}, p);
    ASSERT_TRUE(t.cycle->Generate()) << t.cycle->LastError();
    EXPECT_FALSE(t.cycle->XSide);
    EXPECT_NEAR(t.cycle->GetStartPoint().X, 14, 1e-12);
    EXPECT_TRUE(moves_inside_part(*t.cycle, part_region(line, 40), 0.002).empty());
}

TEST(DirectionFaults, EndsAtTheSameZAreNotRefused) {
    const std::vector<Seg> prof{line_seg({0, 0}, {8, 0}), line_seg({8, 0}, {8, -2}),
                                line_seg({8, -2}, {12, -2}), line_seg({12, -2}, {12, 0}),
                                line_seg({12, 0}, {25, 0})};
    BuiltCycle b = build_cycle(CycleKind::AlongZ, prof, {30, 5}, default_params());
    EXPECT_TRUE(b.cycle->Generate()) << b.cycle->LastError();
    EXPECT_EQ(*b.refusals, 0);
    // Still refused when the profile really runs towards the start point.
    const std::vector<Seg> towards{line_seg({20, -30}, {20, 0}), line_seg({20, 0}, {0, 0})};
    BuiltCycle r = build_cycle(CycleKind::AlongX, towards, {25, 5}, default_params());
    EXPECT_FALSE(r.cycle->Generate());
    EXPECT_EQ(*r.refusals, 1);
    EXPECT_TRUE(r.cycle->Moves.empty());
}

TEST(OrientationFaults, OneElementThreadAndDrillStartNearTheStartPoint) {
    for (CycleKind kind : {CycleKind::Threading, CycleKind::Drilling}) {
        // Start point on the minimum-Z side, datum far away on the chuck side.
        BuiltCycle b = build_cycle(kind, {line_seg({10, 0}, {10, -19})}, {12, -25},
                                   default_params(), {-300, 50});
        TCanCycle& c = *b.cycle;
        c.CycleCode = cycle_code(c.Kind);
        c.BuildProfile();
        ASSERT_GE(c.ProfileMoves.size(), 2u);
        EXPECT_NEAR(c.ProfileMoves.front()->Z(), -19, 1e-9);
        EXPECT_NEAR(c.ProfileMoves.back()->Z(), 0, 1e-9);
    }
}

TEST(TerminationFaults, RunawayInputsFailWithAReason) {
    const std::vector<Seg> prof{line_seg({0, 0}, {20, 0}), line_seg({20, 0}, {20, -30})};
    struct Case {
        CycleKind kind;
        void (*spoil)(TCycleParams&);
    };
    const Case cases[] = {
        {CycleKind::AlongX, [](TCycleParams& p) { p.DepthCutX = 1e-9; }},
        {CycleKind::AlongZ, [](TCycleParams& p) { p.DepthCutZ = 1e-9; }},
        {CycleKind::AlongX, [](TCycleParams& p) { p.DepthCutX = -1; }},
        {CycleKind::PatternRepeat, [](TCycleParams& p) { p.Repeats = 1'000'000'000; }},
        {CycleKind::PatternRepeat, [](TCycleParams& p) { p.Repeats = 0; }},
        {CycleKind::Finishing,
         [](TCycleParams& p) { p.Feed = std::numeric_limits<double>::quiet_NaN(); }},
        {CycleKind::AlongX,
         [](TCycleParams& p) { p.AllowanceX = std::numeric_limits<double>::infinity(); }},
    };
    for (const Case& k : cases) {
        TCycleParams p = default_params();
        k.spoil(p);
        BuiltCycle b = build_cycle(k.kind, prof, {25, 5}, p);
        TCanCycle& c = *b.cycle;
        EXPECT_FALSE(c.Generate());
        EXPECT_FALSE(c.LastError().empty());
        EXPECT_TRUE(c.Moves.empty());
        EXPECT_TRUE(c.NeedsGenerate);
    }
    // A start point that is not a number.
    BuiltCycle b = build_cycle(CycleKind::Finishing, prof,
                               {std::numeric_limits<double>::quiet_NaN(), 5}, default_params());
    EXPECT_FALSE(b.cycle->Generate());
    EXPECT_FALSE(b.cycle->LastError().empty());
}

TEST(PathChecks, AGougeIsReported) {
    const std::vector<Seg> prof{line_seg({0, 0}, {10, 0}), line_seg({10, 0}, {10, -20})};
    TCanCycle c;
    c.StartPoint = {15, 5};
    c.AddMove(kMotionRapid, {15, -10}, {0, 0}, nullptr, 0);
    c.AddMove(kMotionLinear, {9, -10}, {0, 0}, nullptr, 0);
    const auto found = moves_inside_part(c, part_region(prof, 0), 0.01);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("move 1"), std::string::npos);
    TCNC_Groups arc;
    arc.SetWord(kWordCentreX, 9);
    arc.SetWord(kWordCentreZ, -10);
    arc.SetWord(kWordRadius, 2);
    c.AddMove(kMotionClockwise, {9, -13}, {0, 0}, &arc, 0);
    EXPECT_EQ(inconsistent_arcs(c, 0.01).size(), 1u);
}

} // namespace
} // namespace zeran::testing
