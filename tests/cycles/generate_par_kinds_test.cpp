// Grooving, drilling and threading run through Generate, from drawing
// entities, as the main window runs them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cycle_builder.h"
#include "path_checks.h"

namespace zeran {
namespace {

using namespace zeran::testing;

struct GrooveCase {
    std::string name;
    std::vector<Seg> profile;
    CyclePoint start;
    double close_x; // 0: the part runs down to the axis; else the bore's outside
    double bottom;  // the X the groove's plunges reach
    double reach;   // how far short of it a flat insert may stay
};

std::vector<GrooveCase> groove_cases() {
    return {
        {"plain groove from the maximum-Z side",
         {line_seg({15, -30}, {15, -45}), line_seg({15, -45}, {12, -45}),
          line_seg({12, -45}, {12, -49}), line_seg({12, -49}, {15, -49}),
          line_seg({15, -49}, {15, -60})},
         {17, -25},
         0,
         12,
         1e-9},
        {"plain groove from the minimum-Z side",
         {line_seg({15, -60}, {15, -49}), line_seg({15, -49}, {12, -49}),
          line_seg({12, -49}, {12, -45}), line_seg({12, -45}, {15, -45}),
          line_seg({15, -45}, {15, -30})},
         {17, -65},
         0,
         12,
         1e-9},
        {"round-bottomed groove",
         {line_seg({15, -30}, {15, -40}), arc_seg({15, -40}, {15, -46}, {15, -43}, false),
          line_seg({15, -46}, {15, -55})},
         {17, -25},
         0,
         12,
         0.5},
        {"V groove, whose flanks the insert must not cut",
         {line_seg({15, -30}, {15, -40}), line_seg({15, -40}, {12, -43}),
          line_seg({12, -43}, {15, -46}), line_seg({15, -46}, {15, -55})},
         {17, -25},
         0,
         12,
         2.01}, // a flat insert leaves the flanks for a form tool
        {"groove in a bore",
         {line_seg({10, -5}, {10, -15}), line_seg({10, -15}, {12, -15}),
          line_seg({12, -15}, {12, -20}), line_seg({12, -20}, {10, -20}),
          line_seg({10, -20}, {10, -30})},
         {8, 0},
         30,
         12,
         1e-9},
    };
}

std::vector<Seg> scaled(const std::vector<Seg>& profile, double k) {
    std::vector<Seg> out;
    for (Seg s : profile) {
        s.from = {s.from.X * k, s.from.Z * k};
        s.to = {s.to.X * k, s.to.Z * k};
        s.centre = {s.centre.X * k, s.centre.Z * k};
        out.push_back(s);
    }
    return out;
}

TEST(GenerateGrooving, RawGrooveReachesItsBottom) {
    // The groove alone, as picked: the plunges go to X 12, not to the top.
    std::vector<Seg> groove{line_seg({15, -45}, {12, -45}), line_seg({12, -45}, {12, -49}),
                            line_seg({12, -49}, {15, -49})};
    TCycleParams p = default_params();
    p.DepthCutX = 1;
    p.DepthCutZ = 2;
    p.PeckReturnX = 0.2;
    BuiltCycle b = build_cycle(CycleKind::Grooving, groove, {17, -43}, p);
    b.cycle->ToolWidth = 3;
    ASSERT_TRUE(b.cycle->Generate()) << b.cycle->LastError();
    int at_bottom = 0;
    for (const TCNC_Groups* m : b.cycle->Moves) {
        EXPECT_GE(m->X(), 12 - 1e-9);
        if (m->Motion() == kMotionLinear && std::fabs(m->X() - 12) < 1e-9) ++at_bottom;
    }
    EXPECT_GE(at_bottom, 2);
}

TEST(GenerateGrooving, FamilyKeepsOutOfThePartAndReachesEveryBottom) {
    for (std::uint8_t units : {0, 1}) {
        const double k = units == 1 ? 1 / 25.4 : 1.0;
        const double tol = 0.002 * k;
        for (const GrooveCase& g : groove_cases()) {
            SCOPED_TRACE(g.name + (units == 1 ? " (inch)" : " (mm)"));
            TCycleParams p = default_params(units);
            p.DepthCutX = 1.2 * k;
            p.DepthCutZ = 1.5 * k;
            p.PeckReturnX = 0.3 * k;
            p.AllowanceX = 0;
            BuiltCycle b = build_cycle(CycleKind::Grooving, scaled(g.profile, k),
                                       {g.start.X * k, g.start.Z * k}, p);
            TCanCycle& c = *b.cycle;
            c.ToolWidth = 2 * k;
            ASSERT_TRUE(c.Generate()) << c.LastError();
            EXPECT_EQ(*b.refusals, 0);
            const Region part = part_region(scaled(g.profile, k), g.close_x * k);
            for (const std::string& v : moves_inside_part(c, part, tol, 0.02 * k))
                ADD_FAILURE() << v;
            for (const std::string& v : absurd_moves(c)) ADD_FAILURE() << v;
            ASSERT_FALSE(c.Moves.empty());
            EXPECT_TRUE(near(end_of(*c.Moves.front()), c.GetStartPoint()));
            EXPECT_TRUE(near(end_of(*c.Moves.back()), c.GetStartPoint()));
            double deepest = c.GetStartPoint().X;
            for (const TCNC_Groups* m : c.Moves)
                deepest = c.XSide ? std::min(deepest, m->X()) : std::max(deepest, m->X());
            EXPECT_NEAR(deepest, g.bottom * k, g.reach * k + 1e-9);
            // The whole insert, not only its reference corner, stays out.
            for (std::size_t i = 0; i + 1 < c.Moves.size(); ++i) {
                const TCNC_Groups& m = *c.Moves[i];
                if (m.Motion() != kMotionLinear) continue;
                for (int s = 0; s <= 40; ++s) {
                    const CyclePoint p{m.X(), m.Z() + c.ToolWidth * s / 40.0};
                    EXPECT_LE(part.depth(p), tol) << "insert at " << point_text(end_of(m));
                }
            }
        }
    }
}

std::vector<double> drill_depths(const TCanCycle& c) {
    std::vector<double> zs;
    for (const TCNC_Groups* m : c.Moves) zs.push_back(m->Z());
    return zs;
}

TEST(GenerateDrilling, WorkedSequenceOnTheAxis) {
    TCycleParams p = default_params();
    p.DepthCutZ = 5;
    p.PeckReturnZ = 1;
    BuiltCycle b = build_cycle(CycleKind::Drilling, {line_seg({4, 0}, {4, -12})}, {0, 5}, p);
    TCanCycle& c = *b.cycle;
    c.ToolWidth = 8;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    EXPECT_EQ(drill_depths(c), (std::vector<double>{5, 5, 0, 1, -5, -4, -10, -9, -12, 5, 5}));
    for (std::size_t i = 1; i + 1 < c.Moves.size(); ++i) EXPECT_EQ(c.Moves[i]->X(), 0);
    EXPECT_TRUE(near(end_of(*c.Moves.back()), c.GetStartPoint()));
}

TEST(GenerateDrilling, HoleIsDrilledFromTheMouthWhateverTheDatum) {
    // The datum at the chuck side: the hole's mouth lies farther from it than
    // its bottom, yet the bottom is still the far end from the start.
    TCycleParams p = default_params();
    p.DepthCutZ = 5;
    p.PeckReturnZ = 1;
    BuiltCycle b =
        build_cycle(CycleKind::Drilling, {line_seg({4, 100}, {4, 88})}, {0, 105}, p, {0, 50});
    TCanCycle& c = *b.cycle;
    ASSERT_TRUE(c.Generate()) << c.LastError();
    double lowest = 1e9;
    for (const TCNC_Groups* m : c.Moves) lowest = std::min(lowest, m->Z());
    EXPECT_DOUBLE_EQ(lowest, 88);
}

TEST(GenerateThreading, OneLineRunsAwayFromTheStartPoint) {
    TCycleParams p = default_params();
    p.DepthThread = 0.92;
    p.DepthFirst = 0.2;
    p.Pitch = 1.5;
    p.MinCut = 0.05;
    for (bool from_minus_z : {false, true}) {
        SCOPED_TRACE(from_minus_z ? "start on the minimum-Z side" : "start on the maximum-Z side");
        CyclePoint start = from_minus_z ? CyclePoint{12, -25} : CyclePoint{12, 2};
        BuiltCycle b = build_cycle(CycleKind::Threading, {line_seg({10, -3}, {10, -22})}, start, p);
        TCanCycle& c = *b.cycle;
        ASSERT_TRUE(c.Generate()) << c.LastError();
        ASSERT_EQ(c.Moves.size(), 3u);
        const double from = c.Moves[1]->Z(), to = c.Moves[2]->Z();
        EXPECT_DOUBLE_EQ(std::fabs(to - from), 19);
        EXPECT_DOUBLE_EQ(from, from_minus_z ? -22 : -3);
        EXPECT_EQ(c.Moves[2]->Words[kWordFeed], 1.5);
    }
}

} // namespace
} // namespace zeran
