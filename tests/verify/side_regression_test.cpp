// Faults the audit found, each on the smallest part that showed it.
#include "cycle_runs.h"

#include <gtest/gtest.h>

namespace zeran::verify {
namespace {

TCycleParams roughing(double depth) {
    TCycleParams p;
    p.Feed = 0.2;
    p.Speed = 1000;
    p.DepthCutX = depth;
    p.DepthCutZ = depth;
    p.RetractX = 0.5;
    p.RetractZ = 0.5;
    p.AllowanceX = 0.2;
    p.AllowanceZ = 0.1;
    p.Repeats = 2;
    return p;
}

std::vector<Piece> closed(std::vector<Piece> profile, std::vector<Piece> closure) {
    profile.insert(profile.end(), closure.begin(), closure.end());
    return profile;
}

// A shaft faced to the centre, its start point set a little below the
// largest diameter and so nearer the smallest one, and a blind bore whose
// start lies between its radii: each must be worked from its own side.
TEST(SideRegression, FacedShaftAndBlindBoreAreWorkedFromTheirOwnSide) {
    const std::vector<Piece> shaft{line_piece({0, 0}, {8.6, 0}), line_piece({8.6, 0}, {9.4, -0.8}),
                                   line_piece({9.4, -0.8}, {9.4, -15}),
                                   line_piece({9.4, -15}, {11.7, -15}),
                                   line_piece({11.7, -15}, {11.7, -40})};
    const Region shaft_part(
        closed(shaft, {line_piece({11.7, -40}, {0, -40}), line_piece({0, -40}, {0, 0})}));
    const std::vector<Piece> bore{line_piece({25, 0}, {14, 0}), line_piece({14, 0}, {14, -15}),
                                  line_piece({14, -15}, {11, -15}),
                                  line_piece({11, -15}, {11, -30}),
                                  line_piece({11, -30}, {0, -30})};
    const Region bore_part(
        closed(bore, {line_piece({0, -30}, {0, -35}), line_piece({0, -35}, {30, -35}),
                      line_piece({30, -35}, {30, 0}), line_piece({30, 0}, {25, 0})}));
    struct Case {
        const char* name;
        const std::vector<Piece>& profile;
        const Region& part;
        Pt start;
        bool above;
    };
    for (const Case& k : {Case{"shaft", shaft, shaft_part, {10.1, 2}, true},
                          Case{"blind bore", bore, bore_part, {12, 3}, false}}) {
        for (CycleKind kind : {CycleKind::AlongX, CycleKind::AlongZ, CycleKind::PatternRepeat,
                               CycleKind::Finishing}) {
            SCOPED_TRACE(std::string(k.name) + " kind " + std::to_string(static_cast<int>(kind)));
            const CycleRun run = run_cycle(kind, k.profile, k.start, roughing(1.5), {50, 20});
            ASSERT_TRUE(run.generated) << run.cycle->LastError();
            EXPECT_EQ(run.cycle->XSide, k.above);
            Findings found;
            check_gouges(run.moves, k.part, 0.001, 0.005, found);
            EXPECT_TRUE(found.empty()) << found.joined();
        }
    }
}

} // namespace
} // namespace zeran::verify
