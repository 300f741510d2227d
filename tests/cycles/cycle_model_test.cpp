// The move record, the kind tables, extents, the plane helpers, BuildProfile's
// orientation rules, AddMove and Draw.
#include "cycle_builder.h"
#include "cycles/cnc_groups.h"
#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"
#include "cycles/max_min.h"
#include "cycles/profile_geometry.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <numbers>

namespace zeran::testing {
namespace {

class OtherRecord : public TPersistent {
public:
    std::string ClassName() const override { return "TFooter"; }
};

TEST(CncGroups, AssignCopiesEverySlotAndRefusesOtherClasses) {
    TCNC_Groups a;
    EXPECT_FALSE(a.GroupSet[kGroupMotion]);
    EXPECT_EQ(a.Words[kWordX], 0);
    a.SetGroup(kGroupMotion, kMotionClockwise);
    a.SetWord(kWordCentreZ, -4.5);
    a.Flags[2] = true;
    a.Integers[1] = 7;
    TCNC_Groups b;
    b.Assign(a);
    EXPECT_EQ(b.Groups, a.Groups);
    EXPECT_EQ(b.GroupSet, a.GroupSet);
    EXPECT_EQ(b.Words, a.Words);
    EXPECT_EQ(b.WordSet, a.WordSet);
    EXPECT_TRUE(b.Flags[2]);
    EXPECT_EQ(b.Integers[1], 7);

    OtherRecord other;
    try {
        other.Assign(a);
        FAIL() << "no exception";
    } catch (const AssignError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TCNC_Groups to a TFooter");
    }
    EXPECT_THROW(a.Assign(other), AssignError);
}

TEST(CycleKinds, TablesAgreeByKind) {
    EXPECT_EQ(cycle_short_name(CycleKind::AlongX), "Along X");
    EXPECT_EQ(cycle_long_name(CycleKind::PatternRepeat), "Stock Removal Pattern Repeating");
    EXPECT_EQ(cycle_long_name(CycleKind::Grooving), "Grooving Cycle in X");
    const int codes[] = {71, 72, 73, 70, 75, 32, 74, 77};
    for (int k = 0; k < kCycleKindCount; ++k)
        EXPECT_EQ(cycle_code(*cycle_kind_from_number(k)), codes[k]);
    EXPECT_FALSE(cycle_kind_from_number(8));
    EXPECT_FALSE(cycle_kind_from_number(-1));
}

TEST(MaxMin, FirstOfEqualValuesKeepsItsPointAndDiagonalSpansTwice) {
    TMaxMin m;
    EXPECT_TRUE(m.Empty());
    m.Add({1, 5});
    m.Add({3, 5});
    m.Add({3, -1});
    EXPECT_EQ(m.MaxX, 3);
    EXPECT_EQ(m.AtMaxX, (CyclePoint{3, 5}));
    EXPECT_EQ(m.AtMaxZ, (CyclePoint{1, 5}));
    EXPECT_EQ(m.AtMinZ, (CyclePoint{3, -1}));
    EXPECT_DOUBLE_EQ(m.Diagonal(), 2 * std::hypot(2.0, 6.0));
    m.Reset();
    EXPECT_EQ(m.MinX, kNotSet);
    EXPECT_EQ(m.MaxZ, -kNotSet);
}

TEST(ProfileGeometry, BearingsSweepsAndIntersections) {
    const double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(Bearing({0, 0}, {1, 0}), pi / 2);
    EXPECT_DOUBLE_EQ(Bearing({0, 0}, {0, -1}), pi);
    EXPECT_DOUBLE_EQ(Bearing({0, 0}, {0, 0}), 0);
    EXPECT_NEAR(ArcSweep({0, 1}, {1, 0}, {0, 0}, false), 90, 1e-12);
    EXPECT_NEAR(ArcSweep({0, 1}, {1, 0}, {0, 0}, true), 270, 1e-12);
    EXPECT_NEAR(ArcSweep({0, 1}, {0, 1}, {0, 0}, false), 0, 1e-12);

    const CyclePoint d = Direction({0, 0}, {0.005, 3}, 0.01);
    EXPECT_EQ(d, (CyclePoint{0, 1}));

    // The start points are excluded, the end points included.
    EXPECT_TRUE(is_not_found(SegmentIntersection({0, 0}, {0, 10}, {0, 0}, {5, 0})));
    const CyclePoint at_end = SegmentIntersection({-5, 5}, {0, 5}, {0, 0}, {0, 10});
    EXPECT_EQ(at_end, (CyclePoint{0, 5}));
    EXPECT_TRUE(is_not_found(SegmentIntersection({0, 0}, {1, 1}, {0, 1}, {1, 2}))); // parallel

    // Quarter arc from (X 0, Z 2) counter-clockwise to (2, 0) about the origin.
    EXPECT_TRUE(
        PointInsideArc({std::sqrt(2.0), std::sqrt(2.0)}, {0, 2}, {2, 0}, {0, 0}, false, 0.01));
    EXPECT_FALSE(PointInsideArc({2, 0}, {0, 2}, {2, 0}, {0, 0}, false, 0.01));
    EXPECT_FALSE(PointInsideArc({-2, 0}, {0, 2}, {2, 0}, {0, 0}, false, 0.01));

    TCNC_Groups prev;
    prev.SetWord(kWordX, 0);
    prev.SetWord(kWordZ, 2);
    TCNC_Groups arc;
    SetRecord(arc, {0, 2}, kMotionCounterClockwise, {2, 0});
    arc.SetWord(kWordRadius, 2);
    EXPECT_NEAR(arc.Sweep(), 90, 1e-12);
    const CyclePoint h = LineArcIntersection({1, 5}, {1, -5}, arc, prev, 0.01);
    EXPECT_NEAR(h.X, 1, 1e-12);
    EXPECT_NEAR(h.Z, std::sqrt(3.0), 1e-6);
    // The foot of the perpendicular must lie on the segment.
    EXPECT_TRUE(is_not_found(LineArcIntersection({1, 5}, {1, 3}, arc, prev, 0.01)));
}

TEST(BuildProfile, OrientsChainsAndFlagsTheLastRecords) {
    // Picked out of order and against each other: the chain still runs from
    // the face, the arc turned clockwise with a positive sweep.
    std::vector<Seg> prof{line_seg({10, 0}, {0, 0}), line_seg({10, -5}, {10, 0}),
                          arc_seg({12, -7}, {10, -5}, {12, -5}, true),
                          line_seg({12, -7}, {20, -7})};
    BuiltCycle b = build_cycle(CycleKind::Finishing, prof, {25, 5}, default_params());
    TCanCycle& c = *b.cycle;
    c.CycleCode = cycle_code(c.Kind);
    c.BuildProfile();
    const auto& p = c.ProfileMoves;
    ASSERT_EQ(p.size(), 5u); // P0, line, line, arc, line
    EXPECT_TRUE(near(end_of(*p[0]), {0, 0}, 1e-9));
    EXPECT_TRUE(near(end_of(*p[2]), {10, -5}, 1e-9));
    EXPECT_EQ(p[3]->Motion(), kMotionClockwise);
    EXPECT_NEAR(p[3]->Sweep(), 90, 1e-9);
    EXPECT_TRUE(near({p[3]->CentreX(), p[3]->CentreZ()}, {12, -5}, 1e-9));
    // The last element is converted from its own end: a line has no flags.
    EXPECT_FALSE(p[4]->WordSet[kWordX]);
    EXPECT_FALSE(p[4]->WordSet[kWordZ]);
    EXPECT_EQ(c.Extents.MaxX, 20);
    EXPECT_EQ(c.Extents.MinZ, -7);

    // A last arc gets a linear record to its start first.
    std::vector<Seg> arc_last{line_seg({0, 0}, {10, 0}),
                              arc_seg({10, 0}, {12, -2}, {10, -2}, true)};
    BuiltCycle a = build_cycle(CycleKind::Finishing, arc_last, {25, 5}, default_params());
    a.cycle->BuildProfile();
    ASSERT_EQ(a.cycle->ProfileMoves.size(), 4u);
    EXPECT_TRUE(near(end_of(*a.cycle->ProfileMoves[2]), {10, 0}, 1e-9));
    EXPECT_EQ(a.cycle->ProfileMoves[3]->Motion(), kMotionCounterClockwise);
}

TEST(AddMove, WritesTheFiveWordsAndShiftsArcCentres) {
    TCanCycle c;
    c.Params.Speed = 900;
    TCNC_Groups src;
    src.SetWord(kWordCentreX, 4);
    src.SetWord(kWordCentreZ, -3);
    src.SetWord(kWordRadius, 2);
    src.SetWord(kWordSweep, 45);
    c.AddMove(kMotionCounterClockwise, {6.2, -2.9}, {0.2, 0.1}, &src, 0.15);
    c.AddMove(kMotionLinear, {kNotSet, 1}, {0, 0}, &src, 0.15);
    ASSERT_EQ(c.Moves.size(), 1u);
    const TCNC_Groups& m = *c.Moves[0];
    EXPECT_EQ(m.Words[kWordSpeed], 900);
    EXPECT_EQ(m.Words[kWordFeed], 0.15);
    EXPECT_NEAR(m.CentreX(), 4.2, 1e-12);
    EXPECT_NEAR(m.CentreZ(), -2.9, 1e-12);
    EXPECT_EQ(m.Radius(), 2);
    EXPECT_EQ(m.Sweep(), 45);
    for (int w : {kWordX, kWordZ, kWordFeed, kWordSpeed, kWordCentreX, kWordCentreZ, kWordRadius,
                  kWordSweep})
        EXPECT_TRUE(m.WordSet[w]) << w;
    EXPECT_EQ(c.AllRecords.size(), 1u);
    c.Clear();
    EXPECT_TRUE(c.Moves.empty());
    EXPECT_TRUE(c.AllRecords.empty());
}

TEST(CycleDraw, EveryMotionInItsColourWithDrillBodyAndThreadTeeth) {
    TCanCycle c;
    c.Datum = {0, 0};
    c.StartPoint = {10, 10};
    c.Kind = CycleKind::Drilling;
    c.ToolWidth = 4;
    TCNC_Groups arc;
    arc.SetWord(kWordCentreX, 10);
    arc.SetWord(kWordCentreZ, 0);
    arc.SetWord(kWordRadius, 5);
    c.AddMove(kMotionRapid, {10, 5}, {0, 0}, nullptr, 0);
    c.AddMove(kMotionLinear, {10, 0}, {0, 0}, nullptr, 0);
    c.AddMove(kMotionClockwise, {5, 0}, {0, 0}, &arc, 0);
    c.AddMove(kMotionCounterClockwise, {10, 5}, {0, 0}, &arc, 0);
    TCNC_Groups* thread = c.NewRecord();
    thread->Groups[kGroupMotion] = kMotionThread;
    thread->Words[kWordX] = 10;
    thread->Words[kWordZ] = -10;
    thread->Words[kWordFeed] = 2;    // pitch
    thread->Words[kWordThread7] = 1; // depth
    c.Moves.push_back(thread);

    RecordingCanvas canvas;
    const CycleColours colours{1, 2, 3, 4, 5, 6};
    int progress = 0;
    c.OnProgress = [&](TCanCycle&, int, int) { ++progress; };
    c.Draw(canvas, colours, [](double x, double y) { return DevicePoint{int(x), int(-y)}; });
    EXPECT_EQ(progress, 6);
    ASSERT_GE(canvas.calls.size(), 8u);
    EXPECT_EQ(canvas.calls[0].op, "line");
    EXPECT_EQ(canvas.calls[0].colour, 1u);
    // The feed and its drill body: three more lines half the diameter above.
    EXPECT_EQ(canvas.calls[1].colour, 2u);
    EXPECT_EQ(canvas.calls[2].points[1], (DevicePoint{0, -12}));
    EXPECT_EQ(canvas.calls[3].points[1], (DevicePoint{5, -12}));
    // Clockwise from the end back to the previous point, counter-clockwise forwards.
    EXPECT_EQ(canvas.calls[5].op, "arc");
    EXPECT_EQ(canvas.calls[5].colour, 3u);
    EXPECT_EQ(canvas.calls[5].points[2], (DevicePoint{0, -5}));
    EXPECT_EQ(canvas.calls[5].points[3], (DevicePoint{0, -10}));
    EXPECT_EQ(canvas.calls[6].colour, 4u);
    EXPECT_EQ(canvas.calls[6].points[2], (DevicePoint{0, -5}));
    // The thread over 15 pixels at a pitch of 2: its line, 8 flanks down to
    // the datum and 7 teeth of two lines.
    std::size_t thread_lines = 0;
    for (std::size_t i = 7; i < canvas.calls.size(); ++i) {
        EXPECT_EQ(canvas.calls[i].colour, 5u);
        ++thread_lines;
    }
    EXPECT_EQ(thread_lines, 1u + 8 + 2 * 7);
}

} // namespace
} // namespace zeran::testing
