// A whole job made by the cycle engine (drilling, roughing, finishing with
// arcs, grooving, threading), written as GNC and posted for every machine,
// and for LinuxCNC run through its own interpreter.
#include "cycle_job.h"
#include "gcode_trace.h"
#include "temp_dir.h"

#include "base/file_io.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/point_entities.h"
#include "ncout/gnc_reader.h"
#include "ncout/gnc_writer.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace zeran {
namespace {

namespace fs = std::filesystem;
using test::Job;
using test::params;
using test::post;
using test::Segment;

std::string make_job() {
    Job job;
    TCycleParams drill = params(0.12, 1000, false);
    drill.DepthCutZ = 8;
    drill.PeckReturnZ = 1;
    job.add(CycleKind::Drilling, 5, {{0, 0, 0, -25}}, 0, 5, drill, 10, "Drill 10");

    // The outside: chamfer, a thread diameter, a fillet, a shoulder and a round.
    const std::vector<Segment> outside = {
        {10, 0, 12, -2},
        {12, -2, 12, -28},
        {12, -28, 14, -30, true, 14, -28, false},
        {14, -30, 17, -30},
        {17, -30, 18, -31},
        {18, -31, 18, -45},
        {18, -45, 23, -50, true, 18, -50, true},
        {23, -50, 23, -60},
    };
    job.add(CycleKind::AlongX, 1, outside, 26, 2, params(0.25, 180, true));
    job.add(CycleKind::Finishing, 2, outside, 26, 2, params(0.08, 220, true), 0, "Finish (OD)");

    TCycleParams groove = params(0.05, 600, false);
    groove.DepthCutX = 0.5;
    groove.PeckReturnX = 0.2;
    job.add(CycleKind::Grooving, 3,
            {{12, -20, 10.5, -20}, {10.5, -20, 10.5, -24}, {10.5, -24, 12, -24}}, 14, -19, groove,
            3);

    TCycleParams thread = params(1.5, 800, false);
    thread.DepthThread = 0.92;
    thread.DepthFirst = 0.3;
    thread.Pitch = 1.5;
    thread.MinCut = 0.05;
    thread.FinishPass = 1;
    thread.TipAngle = 60;
    thread.Chamfer = 10;
    job.add(CycleKind::Threading, 4, {{12, 0, 12, -18}}, 14, 3, thread, 0, "M24 x 1.5");
    return job.gnc();
}

TEST(JobFromCycles, EveryMachineGetsArcsOnTheirCentresAndTheCycleThreadValues) {
    std::string gnc = make_job();
    struct Expect {
        const char* library;
        const char* thread;
    };
    for (const Expect& e :
         {Expect{"Fanucl.slb", "G76 X22.16 Z-18. P920 Q300 F1.5"},
          Expect{"Haasl.slb", "G76 X22.16 Z-18. K0.92 D0.3 F1.5 A60 P1"},
          Expect{"LinuxCNCl.slb", "G76 P1.5 Z-18 I-4 J0.6 R2 K1.84 Q29.5 H1 E1.5 L2"}}) {
        SCOPED_TRACE(e.library);
        std::string program = post(gnc, e.library);
        EXPECT_NE(program.find(std::string(e.thread) +
                               (std::string(e.library) == "LinuxCNCl.slb" ? "\n" : "\r\n")),
                  std::string::npos)
            << program;
        int arcs = 0;
        for (const auto& m : test::trace_gcode(program)) {
            if (m.motion < 2) continue;
            ++arcs;
            EXPECT_NEAR(m.start_radius(), m.end_radius(), 0.001) << m.block;
        }
        EXPECT_GE(arcs, 2); // finishing at least; roughing may follow the round too
    }
}

// rs274 on a program; the interpreter's log, and its exit status in *rc.
std::string run_rs274(const fs::path& dir, const std::string& program, int* rc) {
    std::string file = (dir / "job.ngc").string();
    write_file_atomically(file, program);
    std::string table = (dir / "lathe.tbl").string();
    write_file_atomically(table, "T1 P1 X0 Z0 D0.8 I95 J5 Q3 ;CNMG roughing\n"
                                 "T2 P2 X0 Z0 D0.4 I93 J3 Q3 ;VNMG finishing\n"
                                 "T3 P3 X0 Z0 D0.2 ;grooving 3 mm\n"
                                 "T4 P4 X0 Z0 ;threading 60 deg\n"
                                 "T5 P5 X0 Z0 D10 ;drill 10 mm\n");
    std::string log = (dir / "rs274.txt").string();
    // rs274 keeps its tool data in $HOME/.tool.mmap: runs side by side need homes of their own.
    *rc = std::system(("HOME='" + dir.string() + "' timeout 60 rs274 -g -t '" + table + "' '" +
                       file + "' >'" + log + "' 2>&1")
                          .c_str());
    auto text = read_file(log);
    return text ? *text : std::string();
}

TEST(JobFromCycles, LinuxCncInterpreterRunsTheGeneratedJob) {
    if (!fs::exists("/usr/bin/rs274")) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
    fs::path dir = test::scratch_dir("zeran_job_rs274");
    fs::remove_all(dir);
    fs::create_directories(dir);
    int rc = 0;
    std::string log = run_rs274(dir, post(make_job(), "LinuxCNCl.slb"), &rc);
    EXPECT_EQ(rc, 0) << log.substr(0, 4000);
    EXPECT_NE(log.find("PROGRAM_END"), std::string::npos);
    EXPECT_NE(log.find("ARC_FEED"), std::string::npos);
    EXPECT_NE(log.find("START_SPEED_FEED_SYNC"), std::string::npos);
    for (const char* word : {"error", "Error", "differs"})
        EXPECT_EQ(log.find(word), std::string::npos) << word << "\n" << log.substr(0, 4000);
    fs::remove_all(dir);
}

// One tool for roughing, finishing and threading at changing constant surface
// speeds: no tool change comes between them to restate the spindle mode, so
// each speed block of every machine carries its own G96 or G97, and LinuxCNC
// takes the whole program.
TEST(JobFromCycles, SpeedBlocksStandAloneWhenTheToolStays) {
    const std::vector<Segment> outside = {
        {10, 0, 12, -2}, {12, -2, 12, -20}, {12, -20, 18, -20}, {18, -20, 18, -40}};
    Job job;
    job.add(CycleKind::AlongX, 1, outside, 26, 2, params(0.25, 180, true));
    job.add(CycleKind::Finishing, 1, outside, 26, 2, params(0.08, 220, true));
    TCycleParams thread = params(1.5, 150, true);
    thread.DepthThread = 0.92;
    thread.DepthFirst = 0.3;
    thread.Pitch = 1.5;
    thread.MinCut = 0.05;
    thread.FinishPass = 1;
    thread.TipAngle = 60;
    job.add(CycleKind::Threading, 1, {{12, 0, 12, -18}}, 14, 3, thread);
    job.add(CycleKind::Finishing, 1, outside, 26, 2, params(0.1, 900, false));
    job.add(CycleKind::Finishing, 1, outside, 26, 2, params(0.1, 200, true));
    const std::string gnc = job.gnc();
    for (const char* lib : {"Fanucl.slb", "Haasl.slb", "LinuxCNCl.slb"}) {
        SCOPED_TRACE(lib);
        const std::string program = post(gnc, lib);
        int speed_blocks = 0;
        std::istringstream lines(program);
        for (std::string block; std::getline(lines, block);) {
            if (!block.empty() && block.back() == '\r') block.pop_back();
            if (!block.ends_with(" M3") && !block.ends_with(" M03")) continue;
            if (block.front() == 'N') block.erase(0, block.find(' ') + 1);
            ++speed_blocks;
            const bool css = block.find("G97") == std::string::npos;
            EXPECT_EQ(block.rfind(css ? "G96 " : "G97 S", 0), 0u) << block;
        }
        EXPECT_EQ(speed_blocks, 5) << program;
    }
    if (!fs::exists("/usr/bin/rs274")) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
    const std::string program = post(gnc, "LinuxCNCl.slb");
    fs::path dir = test::scratch_dir("zeran_job_css");
    fs::remove_all(dir);
    fs::create_directories(dir);
    int rc = 0;
    const std::string log = run_rs274(dir, program, &rc);
    EXPECT_EQ(rc, 0) << log.substr(0, 4000);
    EXPECT_NE(log.find("PROGRAM_END"), std::string::npos) << log.substr(0, 4000);
    for (const char* word : {"error", "Error", "word with no"})
        EXPECT_EQ(log.find(word), std::string::npos) << word << "\n" << log.substr(0, 4000);
    fs::remove_all(dir);
}

// The motion blocks of the other machines use the same axis conventions (X a
// diameter, I and K radii), so the interpreter's arc check holds them too.
TEST(JobFromCycles, LinuxCncInterpreterAcceptsTheOtherMachinesMotion) {
    if (!fs::exists("/usr/bin/rs274")) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
    fs::path dir = test::scratch_dir("zeran_job_motion");
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string gnc = make_job();
    for (const char* lib : {"Fanucl.slb", "Haasl.slb"}) {
        SCOPED_TRACE(lib);
        std::string motion = "G18 G7 G21 G90 G94 S500 M3\nF100\n";
        int blocks = 0;
        for (const auto& m : test::trace_gcode(post(gnc, lib))) {
            char buf[160];
            if (m.motion < 2) {
                std::snprintf(buf, sizeof buf, "G%d X%.4f Z%.4f\n", m.motion, m.x, m.z);
            } else {
                std::snprintf(buf, sizeof buf, "G%d X%.4f Z%.4f I%.4f K%.4f\n", m.motion, m.x, m.z,
                              m.i, m.k);
            }
            motion += buf;
            ++blocks;
        }
        EXPECT_GT(blocks, 20);
        int rc = 0;
        std::string log = run_rs274(dir, motion + "M2\n", &rc);
        EXPECT_EQ(rc, 0) << log.substr(0, 4000);
        EXPECT_EQ(log.find("differs"), std::string::npos) << log.substr(0, 4000);
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace zeran
