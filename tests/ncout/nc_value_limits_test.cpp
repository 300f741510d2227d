// Values no machine should get: the GNC writer and the post-processor refuse
// them with one line instead of writing them, and postvex refuses a machine
// it cannot post for and an output that is one of its inputs.
#include "base/file_io.h"
#include "cycles/can_cycle.h"
#include "ncout/gnc_reader.h"
#include "ncout/gnc_writer.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"
#include "ncout/postvex_job.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace zeran {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(ZERAN_SOURCE_DIR) + "/postvex/data/";
constexpr double kInf = std::numeric_limits<double>::infinity();

struct OneCycle {
    TCanCycle cycle;
    TGNCOutput writer;
    OneCycle(double x, double feed, double speed) {
        cycle.Kind = CycleKind::AlongX;
        cycle.ToolNumber = 1;
        cycle.Params.Feed = feed;
        cycle.Params.Speed = speed;
        auto* r = cycle.NewRecord();
        r->SetGroup(kGroupMotion, kMotionLinear);
        r->SetWord(kWordX, x);
        r->SetWord(kWordZ, -10);
        r->SetWord(kWordFeed, feed);
        cycle.Moves.push_back(r);
        writer.Header = writer.BlankHeader();
        writer.AppendCycle(&cycle);
    }
    std::string refusal() {
        try {
            writer.Text();
        } catch (const GncValueError& e) {
            return e.what();
        }
        return {};
    }
};

TEST(GncValues, NonFiniteOrAbsurdValuesAreRefusedNamingTheCycle) {
    EXPECT_EQ(OneCycle(12.5, 0.2, 1200).refusal(), "");
    EXPECT_EQ(OneCycle(kInf, 0.2, 1200).refusal(),
              "cycle 1 (Along X): x = INF is not a finite number");
    EXPECT_EQ(OneCycle(1e20, 0.2, 1200).refusal(), "cycle 1 (Along X): x = 2E20 is beyond 100000");
    EXPECT_EQ(OneCycle(std::nan(""), 0.2, 1200).refusal(),
              "cycle 1 (Along X): x = NAN is not a finite number");
    EXPECT_EQ(OneCycle(12.5, 1e9, 1200).refusal(),
              "cycle 1 (Along X): feed = 1000000000 is beyond 100000");
    EXPECT_EQ(OneCycle(12.5, 0.2, -1e6).refusal(),
              "cycle 1 (Along X): spindle = -1000000 is beyond 100000");

    // Nothing is written, and a file already there stays.
    OneCycle bad(kInf, 0.2, 1200);
    const fs::path path = test::scratch_dir("zeran_gnc_values") += ".gnc";
    ASSERT_TRUE(write_file_atomically(path.string(), "previous"));
    EXPECT_THROW(bad.writer.WriteFile(path.string()), GncValueError);
    EXPECT_EQ(read_file(path.string()), "previous");
    fs::remove(path);
}

std::string post_error(const std::string& body) {
    const std::string gnc = "metric = true\nPROGID = 99\nPROJECT = \"p\"\nDATE = \"d\"\n"
                            "PROLOGUE\n" +
                            body + "EPILOGUE\n";
    try {
        post_process(read_gnc(gnc), PostLibrary::load(kData + "Libs/LinuxCNCl.slb"));
    } catch (const PostError& e) {
        return e.what();
    }
    return {};
}

TEST(GncValues, ThePostProcessorRefusesWhatTheWriterWouldNot) {
    EXPECT_EQ(post_error("x = 10\nz = 2\nfeed = 0.2\nFAST_TRAV\n"), "");
    EXPECT_EQ(post_error("x = 1e100\nz = 2\nfeed = 0.2\nFAST_TRAV\n"),
              "GNC line 9: x = 1E100 is beyond 100000");
    EXPECT_EQ(post_error("feed = 1e9\nCHANGE_FEED\n"),
              "GNC line 7: feed = 1000000000 is beyond 100000");
    EXPECT_EQ(post_error("CSS_On = 0\nspindle = 2e5\nCHANGE_SPINDLE\n"),
              "GNC line 8: spindle = 200000 is beyond 100000");
    EXPECT_NE(post_error("x = 10\nz = 2\nFAST_TRAV\nx = 8\nz = -9\nPITCH = 1.5\nX_INC = 0.2\n"
                         "MIN_CUT_DEPTH = 0.05\nFINISH_PASSES = 1\nTHREAD_CHAMFER = 0\n"
                         "THREAD_ANGLE = 60\nTHREAD_DEPTH = 1e308\nFINISH_ALLOWANCE = 0\n"
                         "THREAD_CYCLE\n")
                  .find("THREAD_DEPTH = 1E308 is beyond"),
              std::string::npos);
}

class PostvexRefusals : public ::testing::Test {
protected:
    fs::path dir;
    std::string job = std::string(ZERAN_TEST_DATA) + "/ncout/job.gnc";
    void SetUp() override {
        dir = test::scratch_dir("zeran_postvex_refusals");
        fs::remove_all(dir);
        fs::create_directories(dir / "tools" / "Libs");
        fs::copy_file(kData + "Libs/Fanucl.slb", dir / "tools" / "Libs" / "Fanucl.slb");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    PostvexOutcome run(const std::string& source, const std::string& dest,
                       const std::string& machine = "Fanuc Lathe") {
        const std::string settings = path("ZERAN.ini");
        write_file_atomically(settings,
                              "[Postvex]\nSource=" + source + "\nDestination=" + dest +
                                  "\nMachine=" + machine +
                                  "\n[Kelvard Machine Tools]\nDirectory=" + path("tools") + "\n");
        return run_postvex_job(settings, kData);
    }
};

TEST_F(PostvexRefusals, AMachineWhoseFileOrLibraryIsMissingIsAnError) {
    write_file_atomically(path("tools/MachData.ini"),
                          "[Turning]\nMy Lathe=nothere.ini\nShop=shop.ini\n");
    write_file_atomically(path("tools/shop.ini"), "[Shop]\nLibrary=Libs/Gone.slb\n");
    auto missing_file = run(job, path("out.FNL"), "My Lathe");
    EXPECT_FALSE(missing_file.ok);
    EXPECT_NE(missing_file.message.find(path("tools/nothere.ini")), std::string::npos)
        << missing_file.message;
    auto missing_library = run(job, path("out.FNL"), "Shop");
    EXPECT_FALSE(missing_library.ok);
    EXPECT_NE(missing_library.message.find(path("tools/Libs/Gone.slb")), std::string::npos)
        << missing_library.message;
    EXPECT_FALSE(fs::exists(dir / "out.FNL"));
}

TEST_F(PostvexRefusals, AnOutputThatIsAnInputIsRefusedAndKept) {
    write_file_atomically(path("tools/MachData.ini"), "[Turning]\nFanuc Lathe=fanuc.ini\n");
    write_file_atomically(path("tools/fanuc.ini"), "[Fanuc Lathe]\nExtension=FNL\n");
    const std::string source = path("job.gnc");
    fs::copy_file(job, source);
    const std::string before = *read_file(source);
    auto same = run(source, source);
    EXPECT_FALSE(same.ok);
    EXPECT_NE(same.message.find("is the input"), std::string::npos) << same.message;
    fs::create_symlink("job.gnc", dir / "link.gnc");
    EXPECT_FALSE(run(source, path("link.gnc")).ok);
    EXPECT_FALSE(run(source, path("ZERAN.ini")).ok);
    EXPECT_EQ(read_file(source), before);
    EXPECT_TRUE(run(source, path("job.FNL")).ok);
}

} // namespace
} // namespace zeran
