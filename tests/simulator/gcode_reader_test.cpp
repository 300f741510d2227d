// The simulator's reader on hand-written programs of each dialect.
#include "simulator/core/gcode_reader.h"

#include <gtest/gtest.h>

#include <cmath>

namespace simvo {
namespace {

Program read(const char* text, Dialect dialect) {
    ReaderOptions options;
    options.dialect = dialect;
    options.home = {150, 200};
    return read_program(text, options);
}

// The message of the error a program raises, or "" when it reads.
std::string error_of(const char* text, Dialect dialect) {
    try {
        read(text, dialect);
    } catch (const ProgramError& e) {
        return e.what();
    }
    return {};
}

TEST(GcodeReader, FanucProgramWithBlockNumbersCommentsToolCallsAndModalWords) {
    const Program p = read("%\r\n"
                           "O0099 (SHAFT)\r\n"
                           "N10 G21\r\n"
                           "N20 G18 G40 G80 G97 G99\r\n"
                           "(TOOL 01 OFFSET 01)\r\n"
                           "N30 G28 U0.\r\n"
                           "N40 G28 W0.\r\n"
                           "N50 T0101\r\n"
                           "N60 G50 S2500\r\n"
                           "N70 G96 S180 M03\r\n"
                           "N80 G00 X52. Z2.\r\n"
                           "N90 X47.\r\n"
                           "N100 G01 Z-44.8 F0.25\r\n"
                           "N110 U2. W-1.\r\n"
                           "N120 G02 X28. Z-30. I2. K0.\r\n"
                           "N130 M05\r\n"
                           "N140 M30\r\n"
                           "%\r\n",
                           Dialect::Fanuc);
    EXPECT_FALSE(p.inch);
    EXPECT_EQ(p.lines.size(), 18u);
    EXPECT_EQ(p.tool_changes, 1);
    ASSERT_EQ(p.motions.size(), 5u); // the program starts at home, so G28 does not move
    const Motion& approach = p.motions[0];
    EXPECT_EQ(approach.kind, MotionKind::Rapid);
    EXPECT_DOUBLE_EQ(approach.to.x, 26); // diameter 52 is radius 26
    EXPECT_DOUBLE_EQ(approach.to.z, 2);
    EXPECT_EQ(approach.tool, 1);
    EXPECT_TRUE(approach.spindle.on);
    EXPECT_TRUE(approach.spindle.css);
    EXPECT_DOUBLE_EQ(approach.spindle.speed, 180);
    EXPECT_DOUBLE_EQ(approach.spindle.max_rpm, 2500);
    const Motion& cut = p.motions[2];
    EXPECT_EQ(cut.kind, MotionKind::Feed);
    EXPECT_EQ(cut.feed_mode, FeedMode::PerRevolution);
    EXPECT_DOUBLE_EQ(cut.feed, 0.25);
    EXPECT_EQ(cut.line, 13);
    const Motion& incremental = p.motions[3];
    EXPECT_DOUBLE_EQ(incremental.to.x, 24.5); // U is an incremental diameter
    EXPECT_DOUBLE_EQ(incremental.to.z, -45.8);
}

TEST(GcodeReader, ArcsByCentreAndByRadiusAgree) {
    const char* by_centre = "G21\nG98\nG00 X24. Z-28.\nG02 X28. Z-30. I2. K0. F100.\n"
                            "G03 X18. Z-35. I-5. K0.\n";
    const char* by_radius = "G21\nG98\nG00 X24. Z-28.\nG02 X28. Z-30. R2. F100.\n"
                            "G03 X18. Z-35. R5.\n";
    const Program a = read(by_centre, Dialect::Haas);
    const Program b = read(by_radius, Dialect::Haas);
    ASSERT_EQ(a.motions.size(), 3u);
    ASSERT_EQ(b.motions.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(a.motions[i].kind, b.motions[i].kind);
        EXPECT_NEAR(a.motions[i].centre.x, b.motions[i].centre.x, 1e-9) << i;
        EXPECT_NEAR(a.motions[i].centre.z, b.motions[i].centre.z, 1e-9) << i;
    }
    EXPECT_EQ(a.motions[1].kind, MotionKind::ArcCW);
    EXPECT_DOUBLE_EQ(a.motions[1].centre.x, 14);
    EXPECT_DOUBLE_EQ(a.motions[1].centre.z, -28);
    EXPECT_EQ(a.motions[2].kind, MotionKind::ArcCCW);
    EXPECT_EQ(a.motions[1].feed_mode, FeedMode::PerMinute);
    // A centre that the end point misses is kept and measured, not corrected.
    const Program c =
        read("G21\nG98\nG00 X24. Z-28.\nG02 X28. Z-30. I2.01 K0. F100.\n", Dialect::Fanuc);
    EXPECT_NEAR(c.motions[1].end_radius_error, 2.01 - 2.000025, 1e-6);
}

TEST(GcodeReader, LinuxCncDiameterModeFeedModesAndSpindleClamp) {
    const Program p = read("%\n(job)\nG21\nG18 G7 G90 G40 G80\nT2 M6\nG43\nG95\n"
                           "G96 D2500 S220 M3\nG0 X52 Z2\nG1 X20 Z0 F0.1 ; to the face\n"
                           "G8\nG1 X12\nG94\nG1 Z-5 F200\nM5\nM2\n%\n",
                           Dialect::LinuxCnc);
    ASSERT_EQ(p.motions.size(), 4u);
    EXPECT_EQ(p.motions[0].tool, 2);
    EXPECT_DOUBLE_EQ(p.motions[0].spindle.max_rpm, 2500);
    EXPECT_DOUBLE_EQ(p.motions[1].to.x, 10); // G7: a diameter
    EXPECT_EQ(p.motions[1].feed_mode, FeedMode::PerRevolution);
    EXPECT_DOUBLE_EQ(p.motions[2].to.x, 12); // G8: a radius
    EXPECT_EQ(p.motions[3].feed_mode, FeedMode::PerMinute);
    // Without G7 LinuxCNC reads X as a radius from the start.
    EXPECT_DOUBLE_EQ(read("G0 X10 Z1\n", Dialect::LinuxCnc).motions[0].to.x, 10);
    // Inch programs keep their own units.
    EXPECT_TRUE(read("G20\nG0 X1 Z0.1\n", Dialect::LinuxCnc).inch);
}

TEST(GcodeReader, ThreadCyclesOfEachDialectCutToTheSameRoot) {
    // Thread M24 x 1.5 from X28 Z3 to Z-18, root diameter 22.16, as each post writes it.
    const char* fanuc = "G21\nG99\nG97 S800 M03\nG00 X28. Z3.\nG76 P011060 Q50 R0.05\n"
                        "G76 X22.16 Z-18. P920 Q300 F1.5\nM30\n";
    const char* haas = "G21\nG99\nG97 S800 M03\nG00 X28. Z3.\n"
                       "G76 X22.16 Z-18. K0.92 D0.3 F1.5 A60 P1\nM30\n";
    const char* linuxcnc = "G21\nG7\nG95\nG97 S800 M3\nG0 X28 Z3\n"
                           "G76 P1.5 Z-18 I-4 J0.6 R2 K1.84 Q29.5 H1 E1.5 L2\nM2\n";
    for (auto [text, dialect] : {std::pair{fanuc, Dialect::Fanuc}, std::pair{haas, Dialect::Haas},
                                 std::pair{linuxcnc, Dialect::LinuxCnc}}) {
        const Program p = read(text, dialect);
        double deepest = 1e9;
        int threads = 0;
        for (const Motion& m : p.motions) {
            if (m.kind != MotionKind::Thread) continue;
            ++threads;
            deepest = std::min(deepest, m.to.x);
            EXPECT_DOUBLE_EQ(m.feed, 1.5);
            EXPECT_DOUBLE_EQ(m.to.z, -18);
            EXPECT_LE(m.to.x, 12.0); // every pass starts at or below the crest
        }
        EXPECT_NEAR(deepest, 11.08, 1e-9) << text;
        EXPECT_GE(threads, 4) << text;
        // The cycle ends where it began.
        EXPECT_DOUBLE_EQ(p.motions.back().to.x, 14) << text;
        EXPECT_DOUBLE_EQ(p.motions.back().to.z, 3) << text;
    }
    // Either control reads the other's form.
    EXPECT_NO_THROW(read(fanuc, Dialect::Haas));
    EXPECT_NO_THROW(read(haas, Dialect::Fanuc));
}

TEST(GcodeReader, MalformedProgramsNameTheLineAndTheWord) {
    EXPECT_EQ(error_of("G21\nG0 X10 Y5\n", Dialect::Fanuc),
              "line 2: word \"Y5\" is not known or has no meaning in this block");
    EXPECT_EQ(error_of("G21\nG123 X1\n", Dialect::Fanuc), "line 2: unknown G code G123");
    EXPECT_EQ(error_of("M77\n", Dialect::Haas), "line 1: unknown M code M77");
    EXPECT_EQ(error_of("G1 X1.2.3 F1\n", Dialect::Haas), "line 1: malformed number in \"X1.2.3\"");
    EXPECT_EQ(error_of("G0 X\n", Dialect::Haas), "line 1: word \"X\" has no number");
    EXPECT_EQ(error_of("(open comment\n", Dialect::Fanuc), "line 1: comment is not closed");
    EXPECT_EQ(error_of("G0 X1 X2\n", Dialect::Fanuc), "line 1: word X appears twice in the block");
    EXPECT_EQ(error_of("G21\nG01 X10 Z-5\n", Dialect::Fanuc),
              "line 2: feed move without a feed rate (F)");
    EXPECT_EQ(error_of("G0 X20 Z0\nG02 X10 Z-5 F1\n", Dialect::Fanuc),
              "line 2: arc without its centre (I/K or R)");
    EXPECT_EQ(error_of("G0 X0 Z0\nG02 X20 Z0 R2 F1\n", Dialect::Fanuc),
              "line 2: arc radius R is smaller than half the distance it spans");
    EXPECT_EQ(error_of("G1 X1 F1\nG42 G2 X3 Z-1 K-1\n", Dialect::LinuxCnc),
              "line 2: tool nose radius compensation must start on a straight move (G0 or G1)");
    EXPECT_EQ(error_of("G1 X1 F1\nG41 X2\nG76 P1.5 Z-10 I-1 J0.5 K1\n", Dialect::LinuxCnc),
              "line 3: G76 with tool nose radius compensation on (no G40)");
    EXPECT_EQ(error_of("G71 U1 R1\n", Dialect::Fanuc), "line 1: canned cycle G71 is not supported");
    EXPECT_EQ(error_of("G76 P011060 Q50 R0.05\nM30\n", Dialect::Fanuc),
              "line 1: first G76 block without its second block");
    EXPECT_EQ(error_of("G0 X28 Z3\nG76 X22 Z-18 K0 D0.3 F1.5\n", Dialect::Haas),
              "line 2: thread cycle with no depth");
    // Dialect words out of place: U is an axis only on Fanuc-style controls,
    // G7 only on LinuxCNC.
    EXPECT_NE(error_of("G0 U2\n", Dialect::LinuxCnc), "");
    EXPECT_EQ(error_of("G7\n", Dialect::Fanuc), "line 1: unknown G code G7");
    EXPECT_EQ(error_of("G64 P0.01 Q0.01\n", Dialect::LinuxCnc), "");
    EXPECT_NE(error_of("G64 P0.01\n", Dialect::Fanuc), "");
    // Anything after the program end is not read.
    EXPECT_EQ(error_of("M30\nG123\n", Dialect::Fanuc), "");
}

} // namespace
} // namespace simvo

namespace simvo {
namespace {

// Numbers no lathe program holds are refused before they reach the geometry
// (the polygon library would throw on them).
TEST(GcodeReader, AbsurdNumbersAreRefused) {
    ReaderOptions options;
    try {
        read_program("G0 X1 Z99999999\n", options);
        FAIL() << "read";
    } catch (const ProgramError& e) {
        EXPECT_STREQ(e.what(), "line 1: number out of range in \"Z99999999\"");
    }
    EXPECT_NO_THROW(read_program("G0 X9999999 Z-9999999\n", options));
}

} // namespace
} // namespace simvo
