// What GNC records mean as motion: arcs that end on their circles and turn
// the way their angle says, modal state carried from record to record,
// thread data, drilling as plain feeds, and programs refused with the line at fault.
// Jobs made by the cycle engine are compared in tests/verify.
#include "ncout/gnc_interpreter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <string>

namespace zeran {
namespace {

const std::string kStart = "string machine_type(4) = \"TURN\"\nrepeat\nmetric = true\n"
                           "real x_datum = 0\nreal z_datum = 0\nPROLOGUE\n";

std::string program(const std::string& body) {
    return kStart + body + "EPILOGUE\n";
}

std::string rapid(double x, double z) {
    std::ostringstream s;
    s.precision(17);
    s << "x = " << x << "\nz = " << z << "\nfeed = 0.2\nFAST_TRAV\n";
    return s.str();
}

std::string arc(double cx, double cz, double angle) {
    std::ostringstream s;
    s.precision(17);
    s << "cx = " << cx << "\ncz = " << cz << "\nangle = " << angle << "\nfeed = 0.1\nCIRC_TRAV\n";
    return s.str();
}

double distance(CyclePoint a, CyclePoint b) {
    return std::hypot(a.X - b.X, a.Z - b.Z);
}

// Angle of p about c, with Z to the right and X up, counter-clockwise positive.
double bearing(CyclePoint p, CyclePoint c) {
    return std::atan2(p.X - c.X, p.Z - c.Z) * 180 / std::numbers::pi;
}

void expect_near(CyclePoint got, CyclePoint want, double tol, const std::string& what) {
    EXPECT_LE(distance(got, want), tol)
        << what << ": X " << got.X << " Z " << got.Z << ", wanted X " << want.X << " Z " << want.Z;
}

TEST(GncInterpreter, ArcsEndOnTheirCirclesTurningAsTheAngleSays) {
    // A quarter clockwise from the +Z side of its centre ends below it; the
    // next quarter, counter-clockwise, turns back up.
    auto m = interpret_gnc(program(rapid(20, 0) + arc(20, -10, 90) + arc(0, -20, -90)));
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[1].kind, GncMotionKind::ArcClockwise);
    expect_near(m[1].from, {10, 0}, 1e-12, "first arc start");
    expect_near(m[1].centre, {10, -10}, 1e-12, "first arc centre");
    expect_near(m[1].to, {0, -10}, 1e-12, "first arc end");
    EXPECT_EQ(m[2].kind, GncMotionKind::ArcCounterClockwise);
    expect_near(m[2].from, m[1].to, 0, "arcs chain");
    expect_near(m[2].to, {10, -20}, 1e-12, "second arc end");
    EXPECT_DOUBLE_EQ(m[2].radius(), 10);

    // Sweeps beyond a turn count once round; one of exactly 360 closes.
    m = interpret_gnc(program(rapid(20, 0) + arc(20, -10, 450) + arc(20, -10, -720)));
    expect_near(m[1].to, {0, -10}, 1e-9, "450 degrees");
    EXPECT_DOUBLE_EQ(m[1].sweep, 90);
    EXPECT_EQ(m[2].kind, GncMotionKind::ArcCounterClockwise);
    EXPECT_DOUBLE_EQ(m[2].sweep, -360);
    expect_near(m[2].to, m[2].from, 1e-9, "a whole turn");
    EXPECT_FALSE(m[2].moves_nowhere());

    // Random arcs: the end lies on the circle through the start and the
    // angle between them is the sweep, exactly and as a control rounds.
    std::mt19937 gen(11);
    std::uniform_real_distribution<> coord(-80, 80), sweep(-700, 700);
    for (int i = 0; i < 300; ++i) {
        const double sx = std::fabs(coord(gen)), sz = coord(gen);
        const double cx = std::fabs(coord(gen)), cz = coord(gen), a = sweep(gen);
        const std::string text = program(rapid(sx, sz) + arc(cx, cz, a) + rapid(sx, sz));
        for (int decimals : {-1, 3, 4}) {
            std::optional<GncResolution> res;
            if (decimals > 0) res = GncResolution{decimals, decimals + 1};
            const auto ms = interpret_gnc(text, res);
            const GncMotion& c = ms.at(1);
            SCOPED_TRACE(text + " decimals " + std::to_string(decimals));
            EXPECT_NEAR(distance(c.to, c.centre), distance(c.from, c.centre), 0.001);
            EXPECT_EQ(c.kind,
                      a > 0 ? GncMotionKind::ArcClockwise : GncMotionKind::ArcCounterClockwise);
            // Rounding the end to the resolution turns it by up to this much.
            const double slack = (res ? 0.001 : 1e-9) / c.radius() * 180 / std::numbers::pi;
            const double turned = bearing(c.from, c.centre) - bearing(c.to, c.centre);
            EXPECT_NEAR(std::remainder(turned - c.sweep, 360.0), 0, slack + 1e-7)
                << "sweep " << c.sweep;
            expect_near(ms.at(2).from, c.to, 0, "the next move starts at the arc's end");
            if (res) {
                // The control holds diameters to its resolution.
                const double f = std::pow(10.0, decimals);
                EXPECT_DOUBLE_EQ(std::round(2 * c.to.X * f), 2 * c.to.X * f);
                expect_near(c.centre, {cx / 2, cz}, 0.5 / f * std::sqrt(2.0) + 1e-9, "centre");
            }
        }
    }
}

TEST(GncInterpreter, ModalStateIsCarriedToEveryMove) {
    const std::string body = "tool = 3\ntool_offset_id = 13\nCHANGE_TOOL\n"
                             "FPR_On = 1\nfeed = 0.25\nCHANGE_FEED\n"
                             "CSS_On = 1\nspindle = 180\nCHANGE_SPINDLE\n" +
                             rapid(50, 2) +
                             "x = 50\nz = -30\nfeed = 0.15\nLINEAR_TRAV\n"
                             "x = 50\nz = -30\nfeed = 0.15\nLINEAR_TRAV\n"
                             "tool = 4\ntool_offset_id = 4\nCHANGE_TOOL\n"
                             "FPR_On = 0\nfeed = 120\nCHANGE_FEED\n"
                             "CSS_On = 0\nspindle = 900\nCHANGE_SPINDLE\n" +
                             rapid(0, 3);
    std::string inch = program(body);
    inch.replace(inch.find("metric = true"), 13, "metric = false");
    auto m = interpret_gnc(inch);
    ASSERT_EQ(m.size(), 4u);
    GncModalState first{false, 3, 13, true, 0.2, true, 180};
    EXPECT_EQ(m[0].modal, first);
    EXPECT_FALSE(m[0].from_known) << "no position before the first move";
    EXPECT_EQ(m[1].kind, GncMotionKind::Feed);
    EXPECT_DOUBLE_EQ(m[1].modal.feed, 0.15) << "each move's own feed";
    expect_near(m[1].from, {25, 2}, 0, "feed start");
    EXPECT_TRUE(m[2].moves_nowhere());
    EXPECT_FALSE(m[1].moves_nowhere());
    GncModalState second{false, 4, 4, false, 0.2, false, 900};
    EXPECT_EQ(m[3].modal, second);
    EXPECT_FALSE(m[3].from_known) << "a tool change goes by the machine's home";
    EXPECT_FALSE(m[3].moves_nowhere());

    // The interpreter alone, item by item, with a value preset by a library.
    GncInterpreter in;
    EXPECT_TRUE(in.modal().metric);
    in.preset("metric", GncValue{GncValue::Kind::Word, 0, "false"});
    EXPECT_FALSE(in.modal().metric);
    // A program that says nothing of its units keeps the preset.
    for (const GncItem& item : read_gnc("PROLOGUE\n" + rapid(10, 1) + "EPILOGUE\n"))
        if (auto motion = in.take(item)) {
            EXPECT_FALSE(motion->modal.metric);
        }
    EXPECT_TRUE(in.position_known());
    expect_near(in.position(), {5, 1}, 0, "position");
    EXPECT_NO_THROW(in.finish());
}

std::string thread_record(double x, double z, double depth) {
    std::ostringstream s;
    s << "x = " << x << "\nz = " << z << "\nPITCH = 1.5\nX_INC = 0.3\nMIN_CUT_DEPTH = 0.05\n"
      << "FINISH_PASSES = 2\nTHREAD_CHAMFER = 10\nTHREAD_ANGLE = 60\nTHREAD_DEPTH = " << depth
      << "\nFINISH_ALLOWANCE = -0.05\nTHREAD_CYCLE\n";
    return s.str();
}

TEST(GncInterpreter, ThreadsAndDrillsCarryTheirRecordsData) {
    // Outside: a 20 mm thread 0.9 deep, started above it; inside: a 20 mm
    // bore threaded from below. Both return to where they started.
    auto m = interpret_gnc(program(rapid(24, 5) + thread_record(19.1, -30, 0.9) + rapid(24, 8) +
                                   rapid(18, 5) + thread_record(19.1, -20, 0.9) +
                                   "x = 18\nz = 8\nfeed = 0.2\nFAST_TRAV\n"));
    ASSERT_EQ(m.size(), 6u);
    const GncMotion& out = m[1];
    EXPECT_EQ(out.kind, GncMotionKind::Thread);
    EXPECT_FALSE(out.thread.internal);
    EXPECT_DOUBLE_EQ(out.thread.surface_x, 10);
    expect_near(out.to, {9.1, -30}, 1e-12, "outside root");
    EXPECT_DOUBLE_EQ(out.thread.pitch, 1.5);
    EXPECT_DOUBLE_EQ(out.thread.depth, 0.9);
    EXPECT_DOUBLE_EQ(out.thread.first_cut, 0.3);
    EXPECT_DOUBLE_EQ(out.thread.min_cut, 0.05);
    EXPECT_DOUBLE_EQ(out.thread.finish_passes, 2);
    EXPECT_DOUBLE_EQ(out.thread.tip_angle, 60);
    EXPECT_DOUBLE_EQ(out.thread.finish_allowance, -0.05);
    EXPECT_DOUBLE_EQ(out.thread.chamfer_length(), 1.5);
    expect_near(out.end_position(), {12, 5}, 0, "back at the start");
    expect_near(m[2].from, {12, 5}, 0, "the next move leaves from the start");
    const GncMotion& in = m[4];
    EXPECT_TRUE(in.thread.internal);
    expect_near(in.to, {10.9, -20}, 1e-12, "inside root");

    // Drilling reaches the GNC as feeds along the axis, pecks included.
    m = interpret_gnc(program(rapid(0, 5) + "x = 0\nz = -10\nfeed = 0.1\nLINEAR_TRAV\n" +
                              "x = 0\nz = -9\nfeed = 0.1\nLINEAR_TRAV\n" + rapid(0, 5) +
                              "x = 0\nz = 0\nfeed = 0.1\nLINEAR_TRAV\n" +
                              "x = 30\nz = 0\nfeed = 0.1\nLINEAR_TRAV\n"));
    ASSERT_EQ(m.size(), 6u);
    const GncMotionKind kinds[] = {GncMotionKind::Rapid, GncMotionKind::Feed, GncMotionKind::Feed,
                                   GncMotionKind::Rapid, GncMotionKind::Feed, GncMotionKind::Feed};
    for (std::size_t i = 0; i < m.size(); ++i) EXPECT_EQ(m[i].kind, kinds[i]) << i;
    expect_near(m[2].from, {0, -10}, 0, "the peck back starts at the bottom");
    expect_near(m[2].to, {0, -9}, 0, "and ends short of it");
}

TEST(GncInterpreter, UnsoundProgramsAreRefusedAtTheirLine) {
    struct Case {
        std::string text;
        const char* reason;
        int line;
    };
    const int body = 7; // the first line after the prologue
    const Case cases[] = {
        {program(arc(20, 0, 90)), "arc with no start point", body + 4},
        {program(rapid(20, 0) + "tool = 2\nCHANGE_TOOL\n" + arc(20, -5, 90)),
         "arc with no start point", body + 10},
        {program(rapid(20, 0) + arc(20, 0, 90)), "arc of no radius", body + 8},
        {program(rapid(20, 0) + "cz = 1\nangle = 5\nCIRC_TRAV\n"), "without a number for cx",
         body + 6},
        {program("z = 1\nFAST_TRAV\n"), "FAST_TRAV without a number for x", body + 1},
        {program("x = 1E9\nz = 1\nLINEAR_TRAV\n"), "beyond", body + 2},
        {program("feed = 1E7\nCHANGE_FEED\n"), "feed = 10000000 is beyond", body + 1},
        {program(thread_record(19.1, -30, 0.9)), "thread cycle with no start point", body + 10},
        {program(rapid(24, 5) + thread_record(19.1, 5, 0.9)), "thread of no length", body + 14},
        {program(rapid(24, 5) + thread_record(19.1, -9, 0)), "without a thread depth", body + 14},
        {program("PROLOGUE\n"), "second PROLOGUE", body},
        {program("") + "x = 1\n", "record after EPILOGUE", body + 1},
        {kStart + rapid(1, 1), "ends without EPILOGUE", body + 3},
        {"EPILOGUE\n", "has no PROLOGUE", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            interpret_gnc(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const GncMeaningError& e) {
            EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
            EXPECT_EQ(e.line(), c.line) << e.what();
        }
    }
    // A control's resolution decides what is no radius at all.
    const std::string tiny = program(rapid(20, 0) + arc(20, -0.0004, 90));
    EXPECT_NO_THROW(interpret_gnc(tiny));
    EXPECT_THROW(interpret_gnc(tiny, GncResolution{3, 4}), GncMeaningError);
}

} // namespace
} // namespace zeran
