// The program's own path audit: the part as its outline encloses it, moves
// that enter it, rapids through stock still standing, and the audit of
// generated cycles (clean for finishing, a fault for the linear cycle's chords).
#include "cycle_builder.h"
#include "cycles/part_outline.h"
#include "cycles/path_audit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeran {
namespace {

using testing::arc_seg;
using testing::build_cycle;
using testing::default_params;
using testing::line_seg;
using testing::Seg;

// A shaft in cycle coordinates (X, Z): face on the axis, diameter 20 with a
// round bump, a shoulder up to 30 and a last diameter to Z -40, no end face.
std::vector<OutlinePiece> shaft() {
    return {outline_line({0, 0}, {10, 0}),
            outline_line({10, 0}, {10, -10}),
            outline_arc({10, -10}, {10, -20}, {10, -15}, true),
            outline_line({10, -20}, {10, -25}),
            outline_line({10, -25}, {15, -25}),
            outline_line({15, -25}, {15, -40})};
}

TEST(PartOutline, InsideIsBetweenOutlineAndAxisAndEndsWithTheOutline) {
    const PartOutline part(shaft());
    EXPECT_TRUE(part.inside({5, -5}));
    EXPECT_DOUBLE_EQ(part.depth({5, -5}), 5);
    EXPECT_DOUBLE_EQ(part.depth({14, -15}), 1) << "under the top of the round";
    EXPECT_FALSE(part.inside({14, -11})) << "beside the round, outside its circle";
    EXPECT_FALSE(part.inside({12, -5}));
    EXPECT_DOUBLE_EQ(part.depth({12, -30}), 3);
    EXPECT_FALSE(part.inside({5, 0.5})) << "in front of the face";
    EXPECT_FALSE(part.inside({5, -40.5})) << "beyond the end of the outline";
    EXPECT_FALSE(part.inside({-1, -5})) << "below the axis";
    EXPECT_DOUBLE_EQ(part.depth({0, -5}), 0) << "on the axis";
    EXPECT_DOUBLE_EQ(part.extents().MaxX, 15);

    // A bush: the wall between the outer line and the bore.
    const PartOutline bush({outline_line({20, 0}, {20, -30}), outline_line({8, 0}, {8, -30})});
    EXPECT_FALSE(bush.inside({4, -10}));
    EXPECT_DOUBLE_EQ(bush.depth({14, -10}), 6);
    // Seen from inside the bore, the wall is above the bore line even when
    // the outside is not drawn.
    const PartOutline bore_only({outline_line({8, 0}, {8, -30})});
    EXPECT_TRUE(bore_only.inside({9, -10}, false));
    EXPECT_FALSE(bore_only.inside({7, -10}, false));
    EXPECT_DOUBLE_EQ(bore_only.depth({50, -10}, false), 42);
    // An element drawn twice, either way round, does not cancel itself.
    const PartOutline twice({outline_line({20, 0}, {20, -30}), outline_line({20, -30}, {20, 0}),
                             outline_line({8, 0}, {8, -30}),
                             outline_arc({8, -30}, {8, -40}, {8, -35}, false),
                             outline_arc({8, -40}, {8, -30}, {8, -35}, true)});
    EXPECT_EQ(twice.pieces().size(), 3u);
    EXPECT_TRUE(twice.inside({14, -10}));
    // Where the outline turns back along Z (an undercut step), a ray through
    // the turning point must count it as the rays beside it do.
    const PartOutline undercut({outline_line({10, 0}, {10, -10}), outline_line({10, -10}, {4, -5}),
                                outline_line({4, -5}, {4, -20})});
    for (double x : {2.0, 7.0, 12.0}) {
        EXPECT_EQ(undercut.inside({x, -5}), undercut.inside({x, -5.001})) << x;
        EXPECT_EQ(undercut.inside({x, -5}), undercut.inside({x, -4.999})) << x;
    }
    EXPECT_FALSE(undercut.inside({4.5, -9})) << "the pocket under the overhang";
}

// A cycle whose moves are given outright, starting at `start`.
struct HandCycle {
    TCanCycle cycle;
    HandCycle(CycleKind kind, CyclePoint start) {
        cycle.Kind = kind;
        cycle.StartPoint = start;
        cycle.XSide = cycle.ZSide = true;
    }
    void move(int motion, double x, double z, CyclePoint centre = {}) {
        TCNC_Groups* r = cycle.NewRecord();
        r->SetGroup(kGroupMotion, motion);
        r->SetWord(kWordX, x);
        r->SetWord(kWordZ, z);
        r->SetWord(kWordCentreX, centre.X);
        r->SetWord(kWordCentreZ, centre.Z);
        cycle.Moves.push_back(r);
    }
};

TEST(PathAudit, MovesIntoThePartAreFoundAndMovesOnItsOutlineAreNot) {
    const PartOutline part(shaft());
    HandCycle h(CycleKind::Finishing, {20, 2});
    h.move(kMotionRapid, 0, 2);
    h.move(kMotionLinear, 0, 0);
    h.move(kMotionLinear, 10, 0);                        // the face
    h.move(kMotionLinear, 10, -10);                      // the diameter
    h.move(kMotionCounterClockwise, 10, -20, {10, -15}); // the round
    h.move(kMotionLinear, 9.95, -22);                    // 0.05 into the part
    h.move(kMotionLinear, 10, -25);                      // back out
    h.move(kMotionLinear, 15, -25);                      // the shoulder
    h.move(kMotionThread, 14, -26);                      // threads cut in on purpose
    h.move(kMotionLinear, 14, -39);
    h.move(kMotionRapid, 20, 2);
    const PathAudit audit = audit_cycle(h.cycle, part, nullptr, 0.001);
    ASSERT_EQ(audit.findings.size(), 3u);
    const PathFinding& dip = audit.findings[0];
    EXPECT_EQ(dip.fault, PathFault::EntersPart);
    EXPECT_EQ(dip.move, 5u);
    EXPECT_FALSE(dip.rapid);
    EXPECT_NEAR(dip.depth, 0.05, 0.002);
    EXPECT_NEAR(dip.at.Z, -22, 0.01);
    EXPECT_EQ(audit.findings[1].move, 6u) << "the move back out starts inside";
    // The rapid home from the thread's end starts 1 deep in the last diameter.
    EXPECT_EQ(audit.findings[2].move, 10u);
    EXPECT_TRUE(audit.findings[2].rapid);
    EXPECT_NEAR(audit.findings[2].depth, 1, 0.01);
    const std::string text = audit.summary(Units::Metric);
    EXPECT_NE(text.find("3 moves enter the part"), std::string::npos) << text;
    EXPECT_NE(text.find("(rapid move 11) by 1.000"), std::string::npos) << text;

    // A grooving insert, its reference on its minus-Z edge, plunging beside
    // the round: 3 wide it clears the round, 5 wide its far edge cuts into it.
    HandCycle g(CycleKind::Grooving, {20, -24});
    g.cycle.ToolWidth = 3;
    g.move(kMotionRapid, 12, -24);
    g.move(kMotionLinear, 11, -24);
    EXPECT_TRUE(audit_cycle(g.cycle, part, nullptr, 0.001).clean());
    g.cycle.ToolWidth = 5;
    const PathAudit wide = audit_cycle(g.cycle, part, nullptr, 0.001);
    ASSERT_EQ(wide.findings.size(), 2u);
    EXPECT_NEAR(wide.findings[1].depth, 5 - std::sqrt(17.0), 0.002);
}

TEST(PathAudit, RapidsThroughStandingStockAreFoundUntilACutClearsThem) {
    const PartOutline part(shaft());
    // A bar of radius 20 from Z 0 back to Z -40.
    StockMap stock(part, -40, 0, 20);
    HandCycle first(CycleKind::AlongX, {22, 2});
    first.move(kMotionRapid, 17, -30); // straight into the bar
    const PathAudit before = audit_cycle(first.cycle, part, &stock, 0.001);
    ASSERT_EQ(before.findings.size(), 1u);
    EXPECT_EQ(before.findings[0].fault, PathFault::ThroughStock);
    EXPECT_NE(before.summary(Units::Metric).find("through stock not yet removed"),
              std::string::npos);

    // A roughing pass down to X 16 clears the bar above it; the same rapid is fine then.
    HandCycle rough(CycleKind::AlongX, {22, 2});
    rough.move(kMotionRapid, 16, 2);
    rough.move(kMotionLinear, 16, -40);
    rough.move(kMotionRapid, 22, -40);
    rough.move(kMotionRapid, 22, 2);
    EXPECT_TRUE(audit_cycle(rough.cycle, part, &stock, 0.001).clean());
    HandCycle again(CycleKind::AlongX, {22, 2});
    again.move(kMotionRapid, 17, -30);
    again.move(kMotionRapid, 17, -35);
    EXPECT_TRUE(audit_cycle(again.cycle, part, &stock, 0.001).clean());
    // Below that pass the bar still stands.
    again.move(kMotionRapid, 17, -22);
    again.move(kMotionRapid, 12.5, -22);
    const PathAudit below = audit_cycle(again.cycle, part, &stock, 0.001);
    ASSERT_EQ(below.findings.size(), 1u);
    EXPECT_EQ(below.findings[0].move, 3u);
    EXPECT_EQ(below.findings[0].fault, PathFault::ThroughStock);
}

TEST(PathAudit, TheLinearCycleCutsARoundAsAChordIntoThePart) {
    // A datum where a drawing puts it, far from any 0.1 grid.
    const DrawingPoint datum{103.182, 0.94};
    const std::vector<Seg> profile{line_seg({0, 0}, {8, 0}),
                                   arc_seg({8, 0}, {10, -2}, {8, -2}, true),
                                   line_seg({10, -2}, {10, -20}), line_seg({10, -20}, {14, -20}),
                                   line_seg({14, -20}, {14, -35})};
    std::vector<OutlinePiece> pieces;
    for (const Seg& s : profile)
        pieces.push_back(s.arc ? outline_arc(s.from, s.to, s.centre, s.ccw)
                               : outline_line(s.from, s.to));
    const PartOutline part(pieces);
    const TCycleParams p = default_params();
    // The linear cycle cuts the round as a chord, which lies inside the part.
    auto linear = build_cycle(CycleKind::Linear, profile, {16, 2}, p, datum);
    ASSERT_TRUE(linear.cycle->Generate()) << linear.cycle->LastError();
    const PathAudit audit = audit_cycle(*linear.cycle, part, nullptr, 0.001);
    ASSERT_FALSE(audit.clean());
    EXPECT_GT(audit.findings.front().depth, 0.5);
}

TEST(PathAudit, ACompensatedPathIsCheckedWithTheRoundAndReportsWhatItCannotReach) {
    // A 45 degree taper and a fillet of 0.3 in the shoulder, for a 0.8 nose.
    const std::vector<Seg> profile{line_seg({0, 0}, {8, 0}),
                                   line_seg({8, 0}, {8, -5}),
                                   line_seg({8, -5}, {11, -8}),
                                   line_seg({11, -8}, {11, -12}),
                                   arc_seg({11, -12}, {11.3, -12.3}, {11.3, -12}, false),
                                   line_seg({11.3, -12.3}, {14, -12.3}),
                                   line_seg({14, -12.3}, {14, -20})};
    std::vector<OutlinePiece> pieces;
    for (const Seg& s : profile)
        pieces.push_back(s.arc ? outline_arc(s.from, s.to, s.centre, s.ccw)
                               : outline_line(s.from, s.to));
    const PartOutline part(pieces);
    TCycleParams p = default_params();
    p.Compensation = static_cast<std::int32_t>(NoseCompensation::InProgram);
    auto finish = build_cycle(CycleKind::Finishing, profile, {16, 2}, p);
    finish.cycle->NoseRadius = 0.8;
    ASSERT_TRUE(finish.cycle->Generate()) << finish.cycle->LastError();
    const PathAudit audit = audit_cycle(*finish.cycle, part, nullptr, 0.001);
    ASSERT_EQ(audit.findings.size(), 1u) << audit.summary(Units::Metric);
    const PathFinding& uncut = audit.findings.front();
    EXPECT_EQ(uncut.fault, PathFault::UncutMaterial);
    EXPECT_NEAR(uncut.depth, 0.3, 1e-9);
    EXPECT_NEAR(std::hypot(uncut.at.X - 11.3, uncut.at.Z + 12), 0.3, 1e-9);
    EXPECT_NE(audit.summary(Units::Metric)
                  .find("1 place keeps material the nose radius cannot "
                        "reach, the first at X"),
              std::string::npos);

    // The imaginary tip itself runs inside the taper: held as a point it enters.
    finish.cycle->Params.Compensation = 0;
    const PathAudit as_points = audit_cycle(*finish.cycle, part, nullptr, 0.001);
    ASSERT_FALSE(as_points.findings.empty());
    EXPECT_EQ(as_points.findings.back().fault, PathFault::EntersPart);
}

} // namespace
} // namespace zeran
