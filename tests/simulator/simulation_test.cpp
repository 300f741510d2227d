// Material removal, the findings and the cycle time on small programs whose
// result is known by hand.
#include "simulator/core/cycle_time.h"
#include "simulator/core/gcode_reader.h"
#include "simulator/core/simulation.h"

#include <gtest/gtest.h>

namespace simvo {
namespace {

const Machine& fanuc() {
    static const Machine m = *find_machine("Fanuc Lathe");
    return m;
}

Program read(const std::string& body) {
    ReaderOptions options;
    options.dialect = Dialect::Fanuc;
    options.home = {fanuc().home_x / 2, fanuc().home_z};
    return read_program("G21\nG18 G40 G80 G97 G99\nT0101\nG97 S800 M03\n" + body, options);
}

// Kinds of the findings of `body` on a 50 long, radius 20 billet.
std::vector<FindingKind> kinds_of(const std::string& body) {
    const Program p = read(body);
    std::vector<FindingKind> out;
    for (const Finding& f : simulate(p, fanuc(), {50, 20})) out.push_back(f.kind);
    return out;
}

double area_left(const std::string& body) {
    const Program p = read(body);
    Simulation sim(p, fanuc(), {50, 20});
    sim.run_to_end();
    EXPECT_TRUE(sim.findings().empty()) << sim.findings().front().message;
    return sim.stock().area();
}

TEST(StockRemoval, TurningAndGroovingLeaveTheAreaWorkedOutByHand) {
    EXPECT_NEAR(StockModel(50, 20).area(), 1000, 1e-9);
    EXPECT_TRUE(StockModel(0, 20).empty());
    // One pass down to radius 18 over 30 mm takes 2 x 30 away.
    EXPECT_NEAR(area_left("G00 X44. Z2.\nX36.\nG01 Z-30. F0.2\nX44.\nG00 Z2.\n"), 940, 1e-3);
    // A pass in the air takes nothing.
    EXPECT_NEAR(area_left("G00 X44. Z2.\nG01 Z-30. F0.2\nG00 Z2.\n"), 1000, 1e-3);
    // Two plunges 1 mm apart make the blade 1 mm wide: a groove 2 wide, 5 deep.
    EXPECT_NEAR(area_left("G00 X44. Z-10.\nG01 X30. F0.05\nG00 X44.\nZ-9.\nG01 X30.\nG00 X44.\n"),
                990, 1e-3);
    // Boring from inside a drilled hole: the insert hangs towards the axis.
    const double bored =
        area_left("G00 X0. Z5.\nG01 Z-50. F0.1\nG00 Z5.\n"
                  "T0202\nG00 X20. Z2.\nX22.\nG01 Z-20. F0.1\nG00 X20. Z-19.\nZ2.\n");
    EXPECT_LT(bored, 1000 - 11 * 20); // at least the bore of radius 11 over 20 mm is gone
    EXPECT_GT(bored, 1000 - 11 * 50 - 1);
}

TEST(Findings, EachKindIsTriggeredByItsFaultAndOnlyByIt) {
    using K = FindingKind;
    // A rapid straight into the billet, and the same approach fed.
    EXPECT_EQ(kinds_of("G00 X44. Z2.\nG00 X30. Z-10.\n"), std::vector<K>{K::RapidThroughStock});
    EXPECT_TRUE(kinds_of("G00 X44. Z2.\nG01 X30. Z-10. F0.2\n").empty());
    // Cutting back towards the tailstock drives the holder into the stock.
    EXPECT_EQ(kinds_of("G00 X44. Z2.\nX36.\nG01 Z-30. F0.2\nX30.\nZ-20.\n"),
              std::vector<K>{K::HolderIntoStock});
    // A grooving blade may widen its groove towards +Z.
    EXPECT_TRUE(kinds_of("G00 X44. Z-10.\nG01 X30. F0.05\nG00 X44.\nZ-9.\nG01 X30.\nZ-5.\n"
                         "G00 X44.\n")
                    .empty());
    // An arc whose end misses its circle by more than 0.001 mm.
    EXPECT_EQ(kinds_of("G00 X44. Z2.\nG01 X36. Z0. F0.1\nG02 X40. Z-2. I2.002 K0.\n"),
              std::vector<K>{K::ArcRadiusMismatch});
    EXPECT_TRUE(kinds_of("G00 X44. Z2.\nG01 X36. Z0. F0.1\nG02 X40. Z-2. I2. K0.\n").empty());
    // A move past the machine's travel.
    EXPECT_EQ(kinds_of("G00 X44. Z2.\nG00 Z400.\n"), std::vector<K>{K::BeyondTravel});
    // Cutting with the spindle stopped.
    EXPECT_EQ(kinds_of("M05\nG00 X44. Z2.\nX36.\nG01 Z-30. F0.2\n"),
              std::vector<K>{K::SpindleOffCutting});
    EXPECT_TRUE(kinds_of("M05\nG00 X44. Z2.\nG01 Z-30. F0.2\n").empty()); // in the air
}

TEST(Findings, InchProgramsScaleTheTolerancesAndTheTravel) {
    ReaderOptions options;
    options.home = {fanuc().home_x / 2, fanuc().home_z};
    const Program p = read_program("G20\nG99\nG97 S800 M03\nG00 X1.8 Z0.1\nG01 X1.5 Z0. F0.004\n"
                                   "G02 X1.6 Z-0.05 I0.05 K0.\nG00 X14.\n",
                                   options);
    EXPECT_TRUE(p.inch);
    // 14 inch is 355.6 mm of diameter: within the 400 mm travel.
    EXPECT_TRUE(simulate(p, fanuc(), {2, 0.8}).empty());
}

TEST(CycleTime, FeedsRapidsSurfaceSpeedAndToolChanges) {
    Machine m = fanuc();
    // 50 mm at 100 mm/min: 30 s; a tool change.
    Program p = read("G98\nG00 X44. Z0.\nG01 Z-50. F100.\n");
    const double rapid = motion_seconds(p.motions[0], m, false);
    EXPECT_NEAR(cycle_seconds(p, m), rapid + 30 + m.tool_change_seconds, 1e-9);
    // Rapids run each axis at its own rate: the longer one counts.
    EXPECT_NEAR(rapid, std::max((150 - 22) / m.rapid_x, 200 / m.rapid_z) * 60, 1e-9);
    // 0.2 mm/rev at 500 rev/min over 10 mm: 6 s.
    p = read("G97 S500\nG00 X20. Z0.\nG01 Z-10. F0.2\n");
    EXPECT_NEAR(motion_seconds(p.motions[1], m, false), 6, 1e-9);
    // 100 m/min at radius 10 is 1591.5 rev/min; clamped to 1000 by G50.
    p = read("G50 S1000\nG96 S100\nG00 X20. Z0.\nG01 Z-10. F0.1\n");
    EXPECT_NEAR(motion_seconds(p.motions[1], m, false), 6, 1e-9);
    p = read("G96 S100\nG00 X20. Z0.\nG01 Z-10. F0.1\n");
    EXPECT_NEAR(motion_seconds(p.motions[1], m, false),
                10 / (0.1 * 100000 / (2 * 3.14159265358979 * 10)) * 60, 1e-6);
    // A spindle that stands makes no time for feeds per revolution (and is a finding when cutting).
    p = read("M05\nG00 X20. Z0.\nG01 Z-10. F0.1\n");
    EXPECT_EQ(motion_seconds(p.motions[1], m, false), 0);
    // Dwell: Fanuc P in milliseconds.
    p = read("G04 P1500\n");
    EXPECT_NEAR(cycle_seconds(p, m), 1.5 + m.tool_change_seconds, 1e-9);
}

} // namespace
} // namespace simvo
