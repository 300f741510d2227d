// Compensation in the control: the contour cycles that use it mark their
// lead-in and lead-out, the GNC file carries them only then, each machine
// gets its G41/G42 and G40, and LinuxCNC's interpreter runs the programs
// with a lathe tool table holding the nose radius and orientation.
#include "cycle_job.h"
#include "temp_dir.h"

#include "base/file_io.h"
#include "ncout/gnc_interpreter.h"
#include "ncout/machine_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zeran {
namespace {

namespace fs = std::filesystem;
using test::Job;
using test::post;
using test::Segment;

int count_of(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}

TCycleParams in_control(bool compensated = true) {
    TCycleParams p = test::params(0.1, 200, true);
    p.Repeats = 3;
    p.Compensation = static_cast<std::int32_t>(compensated ? NoseCompensation::InControl
                                                           : NoseCompensation::None);
    return p;
}

// The outside towards the chuck, and a bore.
const std::vector<Segment> kOutside = {
    {10, 0, 12, -2},    {12, -2, 12, -20},  {12, -20, 14, -22, true, 14, -20, false},
    {14, -22, 18, -22}, {18, -22, 18, -35},
};
const std::vector<Segment> kInside = {
    {12, 0, 10, -2},
    {10, -2, 10, -15},
    {10, -15, 7, -15},
    {7, -15, 7, -30},
};

struct Case {
    const char* name;
    CycleKind kind;
    bool inside;
    bool towards_chuck;
};

// The same elements picked from the other end.
std::vector<Segment> reversed(const std::vector<Segment>& profile) {
    std::vector<Segment> out;
    for (auto s = profile.rbegin(); s != profile.rend(); ++s)
        out.push_back({s->x1, s->z1, s->x0, s->z0, s->arc, s->cx, s->cz, !s->ccw});
    return out;
}

std::string gnc_of(const Case& c, double nose_radius, int orientation = 0) {
    Job job;
    job.nose_radius = nose_radius;
    job.nose_orientation = orientation;
    const double start_z = c.towards_chuck ? 2 : -38;
    const std::vector<Segment>& profile = c.inside ? kInside : kOutside;
    job.add(c.kind, 1, c.towards_chuck ? profile : reversed(profile), c.inside ? 4 : 21, start_z,
            in_control());
    return job.gnc();
}

TEST(ControlCompensation, OnlyCyclesInControlWriteTheRecordsWithTheSideTheMaterialGives) {
    Job plain;
    plain.nose_radius = 0.8;
    plain.add(CycleKind::Finishing, 1, kOutside, 21, 2, in_control(false));
    EXPECT_EQ(plain.gnc().find("COMP_"), std::string::npos);

    struct Expect {
        Case c;
        const char* side;
        const char* implied;
    };
    for (const Expect& e :
         {Expect{{"outside", CycleKind::Finishing, false, true}, "RIGHT", "2"},
          Expect{{"outside back", CycleKind::Finishing, false, false}, "LEFT", "1"},
          Expect{{"inside", CycleKind::Finishing, true, true}, "LEFT", "3"},
          Expect{{"linear", CycleKind::Linear, false, true}, "RIGHT", "2"},
          Expect{{"repeat", CycleKind::PatternRepeat, true, true}, "LEFT", "3"}}) {
        SCOPED_TRACE(e.c.name);
        const std::string gnc = gnc_of(e.c, 0.8);
        const int passes = e.c.kind == CycleKind::PatternRepeat ? 3 : 1;
        EXPECT_EQ(count_of(gnc, "COMP_START"), passes) << gnc;
        EXPECT_EQ(count_of(gnc, "COMP_END"), passes);
        EXPECT_NE(gnc.find(std::string("comp_side = \"") + e.side + "\""), std::string::npos);
        EXPECT_NE(gnc.find(std::string("tool_orientation = ") + e.implied), std::string::npos);
        EXPECT_NE(gnc.find("nose_radius = 0.8"), std::string::npos);
        // The lead-in is a straight move longer than the radius: the GNC
        // interpreter refuses anything shorter.
        EXPECT_NO_THROW(interpret_gnc(gnc));
    }
    // The tool's own orientation wins over the implied one.
    EXPECT_NE(
        gnc_of({"own", CycleKind::Finishing, false, true}, 0.4, 6).find("tool_orientation = 6"),
        std::string::npos);
}

TEST(ControlCompensation, ANoseTooLargeForAConcaveArcIsRefusedWithThePlace) {
    // A diameter, a concave round of radius 0.5 and a shoulder.
    const std::vector<Segment> profile = {
        {12, 0, 12, -10}, {12, -10, 12.5, -10.5, true, 12.5, -10, false}, {12.5, -10.5, 20, -10.5}};
    for (double nose : {0.8, 0.4}) {
        std::vector<std::unique_ptr<DXF_Entity>> entities;
        std::vector<DXF_Entity*> elements;
        for (const Segment& s : profile) {
            entities.push_back(test::entity(s));
            elements.push_back(entities.back().get());
        }
        TCanCycle c;
        c.Kind = CycleKind::Finishing;
        c.ToolNumber = 1;
        c.NoseRadius = nose;
        c.SetElements(elements);
        c.SetDefinition({true, in_control(), 22, 2});
        c.SetNeedsGenerate(true);
        if (nose > 0.5) {
            EXPECT_FALSE(c.Generate());
            EXPECT_NE(c.LastError().find("does not fit the concave arc of radius 0.5 at X24.29"),
                      std::string::npos)
                << c.LastError();
        } else {
            EXPECT_TRUE(c.Generate()) << c.LastError();
        }
    }
}

const PostMachine kAllowed{"Test Lathe", true};

TEST(ControlCompensation, EachMachineWritesItsCompensationWordsOrRefuses) {
    const std::string gnc = gnc_of({"outside", CycleKind::Finishing, false, true}, 0.8);
    for (const char* lib : {"Fanucl.slb", "Haasl.slb"}) {
        SCOPED_TRACE(lib);
        const std::string program = post(gnc, lib, kAllowed);
        EXPECT_NE(program.find("(NOSE R0.8 TIP 3)"), std::string::npos) << program;
        EXPECT_NE(program.find("G42 G01 "), std::string::npos) << program;
        EXPECT_EQ(count_of(program, "G40"), 2) << "the prologue's and the lead-out's";
        EXPECT_LT(program.find("G42"), program.find("G02")) << "on before the round";
        EXPECT_LT(program.find("G02"), program.rfind("G40")) << "off after it";
    }
    const std::string linuxcnc = post(gnc, "LinuxCNCl.slb", kAllowed);
    EXPECT_NE(linuxcnc.find("(NOSE RADIUS 0.8 ORIENTATION 2 FROM THE TOOL TABLE)\nG42 G1 "),
              std::string::npos)
        << linuxcnc;
    EXPECT_EQ(linuxcnc.find(" D"), linuxcnc.find(" D2500")) << "no D word with G41/G42";

    try {
        post(gnc, "Haasl.slb", {"Old Lathe", false});
        ADD_FAILURE() << "a machine without compensation took the program";
    } catch (const PostError& e) {
        EXPECT_NE(std::string(e.what()).find("machine \"Old Lathe\" does not allow it"),
                  std::string::npos)
            << e.what();
    }
    // A lead-out to where the tool is would take its G40 with it.
    std::string stay = gnc;
    const auto end = stay.find("COMP_END");
    ASSERT_NE(end, std::string::npos);
    stay.insert(end, "x = 1\nz = 1\nLINEAR_TRAV\n");
    stay.insert(stay.find("COMP_END"), "x = 1\nz = 1\n");
    try {
        post(stay, "Fanucl.slb", kAllowed);
        ADD_FAILURE() << "a lead-out that moves nowhere was posted";
    } catch (const PostError& e) {
        EXPECT_NE(std::string(e.what()).find("COMP_END moves nowhere"), std::string::npos)
            << e.what();
    }
    // A library without the templates would drop the G41/G42 and cut with the tip.
    const PostLibrary bare = PostLibrary::parse("[LINEAR_TRAV]\nG1 X{x}\n");
    EXPECT_THROW(post_process(read_gnc(gnc), bare, kAllowed), PostError);
}

TEST(ControlCompensation, ShippedMachinesAllowItAndOthersDoNot) {
    const std::string folder = std::string(ZERAN_SOURCE_DIR) + "/postvex/data/";
    const auto machines = read_machine_list(folder);
    ASSERT_EQ(machines.size(), 3u);
    for (const MachineEntry& m : machines)
        EXPECT_TRUE(read_machine_data(folder, m).cutter_compensation) << m.name;
    fs::path dir = test::scratch_dir("zeran_comp_machine");
    fs::create_directories(dir);
    write_file_atomically((dir / "m.ini").string(), "[Old Lathe]\nLibrary=Libs/Fanucl.slb\n");
    EXPECT_FALSE(read_machine_data(dir.string(), {"Old Lathe", (dir / "m.ini").string()})
                     .cutter_compensation);
    fs::remove_all(dir);
}

TEST(ControlCompensation, TheInterpreterRefusesCompensationLeftOnOrStartedBadly) {
    const std::string head = "PROLOGUE\nfeed = 0.1\nx = 40\nz = 2\nFAST_TRAV\n";
    auto reason = [&](const std::string& body) {
        try {
            interpret_gnc(head + body);
        } catch (const GncMeaningError& e) {
            return e.reason();
        }
        return std::string();
    };
    const std::string start =
        "comp_side = \"RIGHT\"\nnose_radius = 0.8\nx = 24\nz = 2\nCOMP_START\n";
    EXPECT_EQ(reason(start + "x = 24\nz = -20\nLINEAR_TRAV\nx = 40\nCOMP_END\nEPILOGUE\n"), "");
    EXPECT_EQ(reason(start + "EPILOGUE\n"),
              "EPILOGUE while cutter compensation is on (no COMP_END)");
    EXPECT_EQ(reason(start + "tool = 2\nCHANGE_TOOL\n"),
              "CHANGE_TOOL while cutter compensation is on (no COMP_END)");
    EXPECT_EQ(reason("COMP_END\n"), "COMP_END without COMP_START");
    EXPECT_EQ(reason(start + start), "COMP_START while cutter compensation is already on");
    EXPECT_EQ(reason("comp_side = \"UP\"\nCOMP_START\n"),
              "COMP_START without comp_side \"LEFT\" or \"RIGHT\"");
    EXPECT_EQ(reason("comp_side = \"LEFT\"\nnose_radius = 0.8\nx = 39\nz = 2\nCOMP_START\n"),
              "the cutter compensation lead-in (0.5) is not longer than the nose radius (0.8)");
}

// rs274 on a program with a one-tool lathe table; its log, and its exit
// status in *rc. The table's diameters are in inches: the interpreter run
// alone reads them so whatever the program's units.
std::string run_rs274(const fs::path& dir, const std::string& program, double nose_radius_mm,
                      int orientation, int* rc) {
    const std::string file = (dir / "comp.ngc").string();
    write_file_atomically(file, program);
    const std::string table = (dir / "lathe.tbl").string();
    char line[96];
    std::snprintf(line, sizeof line, "T1 P1 X0 Z0 D%.6f Q%d ;nose\n", 2 * nose_radius_mm / 25.4,
                  orientation);
    write_file_atomically(table, line);
    const std::string log = (dir / "rs274.txt").string();
    // rs274 keeps its tool data in $HOME/.tool.mmap: runs side by side need homes of their own.
    *rc = std::system(("HOME='" + dir.string() + "' timeout 60 rs274 -g -t '" + table + "' '" +
                       file + "' >'" + log + "' 2>&1")
                          .c_str());
    auto text = read_file(log);
    return text ? *text : std::string();
}

TEST(ControlCompensation, LinuxCncRunsEveryContourCycleInControl) {
    if (!fs::exists("/usr/bin/rs274")) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
    fs::path dir = test::scratch_dir("zeran_comp_rs274");
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (CycleKind kind : {CycleKind::Finishing, CycleKind::Linear, CycleKind::PatternRepeat,
                           CycleKind::AlongX, CycleKind::AlongZ})
        for (bool inside : {false, true})
            for (bool towards_chuck : {true, false}) {
                const Case c{"", kind, inside, towards_chuck};
                SCOPED_TRACE(std::string(cycle_short_name(kind)) +
                             (inside ? " inside" : " outside") +
                             (towards_chuck ? " towards the chuck" : " away from it"));
                const std::string gnc = gnc_of(c, 0.8);
                const auto side = gnc.find("tool_orientation = ");
                ASSERT_NE(side, std::string::npos);
                const int orientation = gnc[side + 19] - '0';
                int rc = 0;
                const std::string log =
                    run_rs274(dir, post(gnc, "LinuxCNCl.slb", kAllowed), 0.8, orientation, &rc);
                EXPECT_EQ(rc, 0) << log.substr(0, 6000);
                EXPECT_NE(log.find("PROGRAM_END"), std::string::npos) << log.substr(0, 6000);
                EXPECT_NE(log.find("cutter radius compensation on"), std::string::npos);
                for (const char* word : {"error", "Error", "too short", "not greater", "gouging"})
                    EXPECT_EQ(log.find(word), std::string::npos) << word << "\n"
                                                                 << log.substr(0, 6000);
            }
    fs::remove_all(dir);
}

} // namespace
} // namespace zeran
