// The read-back check: the golden programs of the three posts follow their
// GNC file; a program that was changed by as little as 0.01 mm, turned the
// other way round an arc, lost a move or cut a thread too shallow does not.
#include "simulator/core/posted_check.h"

#include "ncout/post_library.h"
#include "ncout/post_processor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace simvo {
namespace {

std::string data(const std::string& name) {
    std::ifstream in(std::string(ZERAN_TEST_DATA) + "/ncout/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// A finishing pass in the control's compensation, as the cycles write it.
const char* const kCompensatedGnc =
    "metric = true\nPROJECT = \"p\"\nDATE = \"d\"\nPROGID = 99\nPROLOGUE\ntool = 1\ntool_offset_id "
    "= 1\nCHANGE_TOOL\nFPR_On = 1\n"
    "feed = 0.1\nCHANGE_FEED\nCSS_On = 0\nspindle = 500\nCHANGE_SPINDLE\n"
    "x = 52\nz = 2\nFAST_TRAV\nx = 20\nFAST_TRAV\n"
    "z = 0\ncomp_side = \"RIGHT\"\nnose_radius = 0.8\ntool_orientation = 2\nCOMP_START\n"
    "x = 24\nz = -2\nLINEAR_TRAV\nz = -28\nLINEAR_TRAV\ncx = 28\ncz = -28\nangle = 90\n"
    "CIRC_TRAV\nx = 52\nCOMP_END\nz = 2\nFAST_TRAV\nEPILOGUE\n";

TEST(PostedCheck, CompensatedProgramsFollowTheirGncAndLosingTheCompensationShows) {
    struct Post {
        const char* library;
        Dialect dialect;
        const char* on;
    };
    for (const Post& p : {Post{"Fanucl.slb", Dialect::Fanuc, "G42 G01"},
                          Post{"Haasl.slb", Dialect::Haas, "G42 G01"},
                          Post{"LinuxCNCl.slb", Dialect::LinuxCnc, "G42 G1"}}) {
        SCOPED_TRACE(p.library);
        const std::string program =
            zeran::post_process_text(kCompensatedGnc,
                                     zeran::PostLibrary::load(std::string(ZERAN_SOURCE_DIR) +
                                                              "/postvex/data/Libs/" + p.library),
                                     {"Test Lathe", true});
        EXPECT_EQ(compare_with_gnc(kCompensatedGnc, program, p.dialect), "") << program;
        const std::string diff =
            compare_with_gnc(kCompensatedGnc, replaced(program, p.on, "G01"), p.dialect);
        EXPECT_NE(diff.find("with nose radius compensation right"), std::string::npos) << diff;
    }
}

TEST(PostedCheck, GoldenProgramsFollowTheirGncAndAlteredOnesDoNot) {
    const std::string gnc = data("job.gnc");
    const std::string fanuc = data("job.FNL"), haas = data("job.NC"), linuxcnc = data("job.ngc");
    EXPECT_EQ(compare_with_gnc(gnc, fanuc, Dialect::Fanuc), "");
    EXPECT_EQ(compare_with_gnc(gnc, haas, Dialect::Haas), "");
    EXPECT_EQ(compare_with_gnc(gnc, linuxcnc, Dialect::LinuxCnc), "");

    // A point moved by 0.01 mm.
    std::string diff = compare_with_gnc(gnc, replaced(fanuc, "N570 X24. Z-2.", "N570 X24. Z-2.01"),
                                        Dialect::Fanuc);
    EXPECT_NE(diff.find("line 68 of the program makes a feed to X24 Z-2.01"), std::string::npos)
        << "[" << diff << "]";
    EXPECT_NE(diff.find("has a feed to X24 Z-2"), std::string::npos) << diff;
    // An arc turned the other way.
    diff =
        compare_with_gnc(gnc, replaced(linuxcnc, "G2 X28 Z-30", "G3 X28 Z-30"), Dialect::LinuxCnc);
    EXPECT_NE(diff.find("counter-clockwise arc to X28 Z-30"), std::string::npos) << diff;
    // A rapid where a feed belongs.
    diff = compare_with_gnc(gnc, replaced(haas, "G01 Z-44.8 F0.25", "G00 Z-44.8"), Dialect::Haas);
    EXPECT_NE(diff.find("makes a rapid to X47 Z-44.8"), std::string::npos) << diff;
    // A move left out.
    diff = compare_with_gnc(gnc, replaced(linuxcnc, "G1 Z-60\n", ""), Dialect::LinuxCnc);
    EXPECT_FALSE(diff.empty());
    // A thread cut 0.05 mm short of its depth.
    diff = compare_with_gnc(gnc, replaced(haas, "G76 X22.16", "G76 X22.26"), Dialect::Haas);
    EXPECT_NE(diff.find("thread to X22.26 Z-18"), std::string::npos) << diff;
    // A program the reader refuses, or read in the wrong dialect.
    diff = compare_with_gnc(gnc, replaced(fanuc, "N80 G00 X0. Z5.", "N80 G00 X0. Y5."),
                            Dialect::Fanuc);
    EXPECT_EQ(diff.rfind("the program cannot be read back: line", 0), 0u) << diff;
    EXPECT_NE(compare_with_gnc(gnc, fanuc, Dialect::LinuxCnc), "");
    EXPECT_NE(compare_with_gnc("x = = 1\n", fanuc, Dialect::Fanuc).find("GNC file"),
              std::string::npos);
    // A GNC file cut short, or one whose arc has no start, is no path to agree with.
    const std::string cut = gnc.substr(0, gnc.find("EPILOGUE"));
    diff = compare_with_gnc(cut, fanuc, Dialect::Fanuc);
    EXPECT_NE(diff.find("ends without EPILOGUE"), std::string::npos) << diff;
    diff = compare_with_gnc("PROLOGUE\ncx = 1\ncz = 1\nangle = 9\nCIRC_TRAV\nEPILOGUE\n", fanuc,
                            Dialect::Fanuc);
    EXPECT_NE(diff.find("GNC line 5: arc with no start point"), std::string::npos) << diff;
}

} // namespace
} // namespace simvo
