// The post-processor: each shipped machine's G-code read back, arcs closing
// on their centres, thread blocks, refused programs, and the program run as a
// whole. A job made by the cycle engine is in job_from_cycles_test.cpp.
#include "gcode_trace.h"

#include "base/file_io.h"
#include "ncout/gnc_reader.h"
#include "ncout/machine_data.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"
#include "ncout/postvex_job.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

namespace zeran {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(ZERAN_SOURCE_DIR) + "/postvex/data/";

std::string slurp(const std::string& path) {
    auto text = read_file(path);
    EXPECT_TRUE(text) << path;
    return text ? *text : std::string();
}

std::string post(const std::string& gnc, const std::string& library) {
    return post_process(read_gnc(gnc), PostLibrary::load(kData + "Libs/" + library));
}

// The values every prologue template uses; four lines.
const std::string kHead = "metric = true\nPROGID = 99\nPROJECT = \"p\"\nDATE = \"d\"\n";

std::string job_gnc() {
    return slurp(std::string(ZERAN_TEST_DATA) + "/ncout/job.gnc");
}

bool contains_line(const std::string& program, const std::string& line) {
    std::string text = "\n" + program;
    return text.find("\n" + line + "\r\n") != std::string::npos ||
           text.find("\n" + line + "\n") != std::string::npos;
}

const char* const kMachines[] = {"Fanucl.slb", "Haasl.slb", "LinuxCNCl.slb"};

TEST(Postvex, EveryMachineMatchesItsGoldenProgram) {
    // Reviewed by hand; a change to a library or the engine shows up here line by line.
    for (const char* golden : {"job.FNL", "job.NC", "job.ngc"}) {
        SCOPED_TRACE(golden);
        std::string library = std::string(golden) == "job.FNL"  ? "Fanucl.slb"
                              : std::string(golden) == "job.NC" ? "Haasl.slb"
                                                                : "LinuxCNCl.slb";
        std::string expected = slurp(std::string(ZERAN_TEST_DATA) + "/ncout/" + golden);
        std::string actual = post(job_gnc(), library);
        auto a = test::trace_gcode(actual).size(), e = test::trace_gcode(expected).size();
        EXPECT_EQ(a, e);
        std::istringstream as(actual), es(expected);
        std::string al, el;
        for (int line = 1; std::getline(es, el); ++line) {
            std::getline(as, al);
            ASSERT_EQ(al, el) << "line " << line;
        }
        EXPECT_EQ(actual, expected);
    }
}

TEST(Postvex, FanucProgramReadsAsAProgrammerWouldWriteIt) {
    std::string p = post(job_gnc(), "Fanucl.slb");
    for (const char* line :
         {"O0099 (SPINDRA TURNING - SHAFT.TCF)", "(AUTHOR - J. TURNER)", "N10 G21", "N50 T0505",
          "N60 G98", "N70 G97 S1000 M03", "N200 G50 S2500", "N210 G96 S180 M03",
          "N590 G02 X28. Z-30. I2. K0.", "N630 G03 X26. Z-50. I-5. K0.",
          "N840 G76 P011060 Q50 R0.05", "N890 M30"})
        EXPECT_TRUE(contains_line(p, line)) << line << "\n" << p;
    // The file is CR LF throughout and ends with the tape mark.
    EXPECT_EQ(p.substr(p.size() - 3), "%\r\n");
}

TEST(Postvex, ArcEndsFollowTheSignedSweepAndCloseOnTheirCentres) {
    // Chains of random arcs: each starts where the last ended, so any error in
    // the turned end point or in I and K would add up along the chain.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> radius(0.3, 40), sweep(-359, 359), turn(0, 6.283);
    std::string gnc = "metric = true\r\nPROGID = 1\r\nPROJECT = \"p\"\r\nDATE = \"d\"\r\n"
                      "PROLOGUE\r\nx = 60\r\nz = 5\r\nfeed = 0.2\r\nFAST_TRAV\r\n";
    double x = 30, z = 5; // radius
    int count = 0;
    for (int n = 0; n < 200; ++n) {
        double r = radius(rng), a = turn(rng), s = sweep(rng);
        double cx = x - r * std::sin(a), cz = z - r * std::cos(a);
        char buf[200];
        std::snprintf(buf, sizeof buf, "cx = %.15g\r\ncz = %.15g\r\nangle = %.15g\r\nCIRC_TRAV\r\n",
                      2 * cx, cz, s);
        gnc += buf;
        // Where the arc truly ends (clockwise for a positive sweep).
        double t = std::atan2(x - cx, z - cz) - s * M_PI / 180;
        x = cx + r * std::sin(t);
        z = cz + r * std::cos(t);
        ++count;
    }
    gnc += "EPILOGUE\r\n";
    for (const char* library : kMachines) {
        SCOPED_TRACE(library);
        auto moves = test::trace_gcode(post(gnc, library));
        int arcs = 0;
        for (const auto& mv : moves) {
            if (mv.motion < 2) continue;
            ++arcs;
            ASSERT_NEAR(mv.start_radius(), mv.end_radius(), 0.001) << mv.block;
        }
        EXPECT_EQ(arcs, count);
        // Rounding is taken from what was written, so the chain does not drift.
        EXPECT_NEAR(moves.back().x / 2, x, 0.01);
        EXPECT_NEAR(moves.back().z, z, 0.01);
    }
}

TEST(Postvex, ClockwiseIsG2AndCounterClockwiseG3) {
    std::string gnc = kHead + "PROLOGUE\nx = 20\nz = 0\nFAST_TRAV\n"
                              "cx = 20\ncz = -5\nangle = 90\nfeed = 0.1\nCIRC_TRAV\n"
                              "cx = 20\ncz = -5\nangle = -90\nCIRC_TRAV\nEPILOGUE\n";
    auto p = post(gnc, "LinuxCNCl.slb");
    // From (r10, z0) about (r10, z-5): a quarter turn clockwise ends at (r5, z-5).
    EXPECT_TRUE(contains_line(p, "G2 X10 Z-5 I0 K-5 F0.1")) << p;
    EXPECT_TRUE(contains_line(p, "G3 X20 Z0 I5 K0")) << p;
}

TEST(Postvex, MovesToWhereTheToolIsAreDroppedButNotAfterAToolChange) {
    std::string gnc = kHead + "PROLOGUE\nx = 20\nz = 2\nfeed = 0.1\nFAST_TRAV\nLINEAR_TRAV\n"
                              "tool = 2\ntool_offset_id = 2\nCHANGE_TOOL\nFAST_TRAV\nEPILOGUE\n";
    auto moves = test::trace_gcode(post(gnc, "LinuxCNCl.slb"));
    ASSERT_EQ(moves.size(), 2u); // the rapid, then the same rapid after the tool change
    EXPECT_EQ(moves[1].block, "G0 X20 Z2");
    // After a tool change the tool is at home: an arc there has no known start.
    EXPECT_THROW(post(kHead + "PROLOGUE\nx = 20\nz = 2\nFAST_TRAV\ntool = 2\n"
                              "tool_offset_id = 2\nCHANGE_TOOL\ncx = 20\ncz = 0\n"
                              "angle = 90\nCIRC_TRAV\nEPILOGUE\n",
                      "Fanucl.slb"),
                 PostError);
}

TEST(Postvex, InchProgramsKeepTheirFourthDecimalAndCloseTheirArcs) {
    std::string gnc = "metric = false\nPROGID = 7\nPROJECT = \"p\"\nDATE = \"d\"\nPROLOGUE\n"
                      "x = 1.0625\nz = 0.1\nfeed = 0.004\nFAST_TRAV\n"
                      "cx = 1.3125\ncz = 0.1\nangle = 37.5\nCIRC_TRAV\nEPILOGUE\n";
    struct Expect {
        const char* library;
        const char* rapid;
        double tolerance; // half the machine's inch resolution, and then some
    };
    for (const Expect& e : {Expect{"Fanucl.slb", "N30 G00 X1.0625 Z0.1", 0.0001},
                            Expect{"Haasl.slb", "G00 X1.0625 Z0.1", 0.0001},
                            Expect{"LinuxCNCl.slb", "G0 X1.0625 Z0.1", 0.00004}}) {
        SCOPED_TRACE(e.library);
        std::string p = post(gnc, e.library);
        EXPECT_TRUE(contains_line(p, e.rapid)) << p;
        EXPECT_NE(p.find("G20"), std::string::npos);
        auto moves = test::trace_gcode(p);
        ASSERT_EQ(moves.size(), 2u);
        EXPECT_NEAR(moves[1].start_radius(), 0.125, 1e-9);
        EXPECT_NEAR(moves[1].start_radius(), moves[1].end_radius(), e.tolerance);
    }
}

TEST(Postvex, InsideThreadCutsOutwardsToTheMajorDiameter) {
    // A bore of 20 mm started from 18 mm: the thread runs outwards.
    std::string gnc = kHead +
                      "PROLOGUE\nx = 18\nz = 3\nFAST_TRAV\n"
                      "x = 19.4\nz = -15\nPITCH = 1\nX_INC = 0.2\nMIN_CUT_DEPTH = 0.05\n"
                      "FINISH_PASSES = 2\nTHREAD_CHAMFER = 0\nTHREAD_ANGLE = 60\n"
                      "THREAD_DEPTH = 0.6\nFINISH_ALLOWANCE = -0.02\nTHREAD_CYCLE\nEPILOGUE\n";
    EXPECT_TRUE(contains_line(post(gnc, "Fanucl.slb"), "N50 G76 X21.2 Z-15. P600 Q200 F1."));
    EXPECT_TRUE(contains_line(post(gnc, "Fanucl.slb"), "N40 G76 P020060 Q50 R0.02"));
    EXPECT_TRUE(contains_line(post(gnc, "LinuxCNCl.slb"), "G76 P1 Z-15 I2 J0.4 R2 K1.2 Q29.5 H2"));
}

TEST(Postvex, UnsoundProgramsAreRefusedWithTheGncLine) {
    struct Case {
        const char* gnc;
        int line;
    };
    const Case cases[] = {
        {"PROLOGUE\nx = 10\nz = 0\nFAST_TRAV\n", 4},                         // no EPILOGUE
        {"x = 10\nz = 0\nFAST_TRAV\nEPILOGUE\n", 4},                         // no PROLOGUE
        {"PROLOGUE\ncx = 10\ncz = 0\nangle = 90\nCIRC_TRAV\nEPILOGUE\n", 5}, // no start
        {"PROLOGUE\nx = 10\nz = 0\nFAST_TRAV\ncx = 10\ncz = 0\nangle = 9\nCIRC_TRAV\n", 8},
        {"PROLOGUE\nx = 10\nFAST_TRAV\nEPILOGUE\n", 3}, // no z
        {"PROLOGUE\nEPILOGUE\nx = 1\nz = 1\nFAST_TRAV\n", 3},
        {"PROLOGUE\nx = 30\nz = 2\nFAST_TRAV\nx = 20\nz = -9\nPITCH = 0\nX_INC = 0.2\n"
         "MIN_CUT_DEPTH = 0\nFINISH_PASSES = 1\nTHREAD_CHAMFER = 0\nTHREAD_ANGLE = 60\n"
         "THREAD_DEPTH = 0.6\nFINISH_ALLOWANCE = 0\nTHREAD_CYCLE\nEPILOGUE\n",
         15},
        {"PROLOGUE\ntool = 123\ntool_offset_id = 1\nCHANGE_TOOL\nEPILOGUE\n", 4}, // T12301?
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gnc);
        try {
            post(kHead + c.gnc, "Fanucl.slb");
            ADD_FAILURE() << "accepted";
        } catch (const PostError& e) {
            EXPECT_EQ(e.line(), c.line + 4) << e.what();
        }
    }
    EXPECT_THROW(read_gnc("x = = 3\n"), GncReadError);
    EXPECT_THROW(read_gnc("comment_text = \"open\n"), GncReadError);
}

TEST(PostLibrary, FormatsAndTemplateMistakesAreCaughtWhenLoaded) {
    auto lib = PostLibrary::parse("[Formats]\nc = aP3\n[X]\nA{v:c} B{v:*2R2} C{v:F2} D{v:I3}\n");
    ASSERT_NE(lib.section("X"), nullptr);
    std::string out = post_process(read_gnc("PROLOGUE\nv = -1.5\nX\nEPILOGUE\n"), lib);
    EXPECT_EQ(out, "A1.5 B-3 C-1.50 D-002\r\n");
    const char* bad[] = {"[X]\nG{x\n",
                         "[X]\nG{x:Q3}\n",
                         "[Format]\nDecimals = 9\n",
                         "[Format]\nLineEnd = CR\n",
                         "x = 1\n",
                         "[X]\n!jump\n",
                         "[X]\n?cond\n",
                         "[X]\nA\n[X]\nB\n"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EXPECT_THROW(PostLibrary::parse(text), PostLibraryError);
    }
}

// --- the program as the main window starts it ---------------------------------

class PostvexRun : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = test::scratch_dir("zeran_postvex");
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string settings(const std::string& source, const std::string& dest,
                         const std::string& machine, const std::string& extra = "") {
        std::string path = (dir / "ZERAN.ini").string();
        write_file_atomically(path, "[Postvex]\nSource=" + source + "\nDestination=" + dest +
                                        "\nMachine=" + machine + "\n" + extra);
        return path;
    }
};

TEST_F(PostvexRun, WritesTheDestinationOrNothingThatLooksComplete) {
    std::string job = std::string(ZERAN_TEST_DATA) + "/ncout/job.gnc";
    std::string dest = (dir / "job.ngc").string();
    auto ok = run_postvex_job(settings(job, dest, "linuxcnc lathe"), kData);
    EXPECT_TRUE(ok.ok) << ok.message;
    EXPECT_NE(slurp(dest).find("G76"), std::string::npos);

    // A broken GNC file keeps the previous program and leaves no partial one.
    std::string broken = (dir / "broken.gnc").string();
    write_file_atomically(broken, job_gnc().substr(0, 3000));
    auto bad = run_postvex_job(settings(broken, dest, "LinuxCNC Lathe"), kData);
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.message.find("EPILOGUE"), std::string::npos) << bad.message;
    EXPECT_NE(slurp(dest).find("M2"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);

    auto unknown = run_postvex_job(settings(job, dest, "Mazak"), kData);
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.message.find("Mazak"), std::string::npos);
    auto missing =
        run_postvex_job(settings((dir / "none.gnc").string(), dest, "Fanuc Lathe"), kData);
    EXPECT_FALSE(missing.ok);
    auto empty = run_postvex_job(settings("", dest, "Fanuc Lathe"), kData);
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(missing.message.find('\n'), std::string::npos);
}

TEST_F(PostvexRun, TheSettingsMayNameAnotherMachineToolsFolder) {
    // Only a folder holding the marker library counts.
    fs::create_directories(dir / "tools" / "Libs");
    fs::copy_file(kData + "Libs/Haasl.slb", dir / "tools" / "Libs" / "Fanucl.slb");
    write_file_atomically((dir / "tools" / "MachData.ini").string(),
                          "[Turning]\nShop Lathe=shop.ini\n");
    write_file_atomically((dir / "tools" / "shop.ini").string(), "[Shop Lathe]\n");
    std::string job = std::string(ZERAN_TEST_DATA) + "/ncout/job.gnc";
    std::string dest = (dir / "job.FNL").string();
    std::string extra = "[Kelvard Machine Tools]\nDirectory=" + (dir / "tools").string() + "\n";
    auto ok = run_postvex_job(settings(job, dest, "Shop Lathe", extra), kData);
    EXPECT_TRUE(ok.ok) << ok.message;
    EXPECT_NE(slurp(dest).find("T404"), std::string::npos); // the library it found
    fs::remove(dir / "tools" / "Libs" / "Fanucl.slb");
    auto fallback = run_postvex_job(settings(job, dest, "Shop Lathe", extra), kData);
    EXPECT_FALSE(fallback.ok);
    EXPECT_NE(fallback.message.find("\"Shop Lathe\" is not listed"), std::string::npos);
}

TEST_F(PostvexRun, TheProgramExitsWithAOneLineMessageOnError) {
    std::string exe = std::string(ZERAN_BINARY_DIR) + "/postvex/postvex";
    if (!fs::exists(exe)) GTEST_SKIP() << "postvex not built";
    std::string job = std::string(ZERAN_TEST_DATA) + "/ncout/job.gnc";
    std::string dest = (dir / "job.FNL").string();
    std::string err = (dir / "err.txt").string();
    int rc = std::system((exe + " " + settings(job, dest, "Fanuc Lathe") + " 2>" + err).c_str());
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(fs::exists(dest));
    rc = std::system(
        (exe + " " + settings(job, (dir / "x.FNL").string(), "Nope") + " 2>" + err).c_str());
    EXPECT_NE(rc, 0);
    std::string message = slurp(err);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_FALSE(fs::exists(dir / "x.FNL"));
}

} // namespace
} // namespace zeran
