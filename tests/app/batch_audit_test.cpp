// The batch runs' path audit: a cycle whose path enters the part is one
// warning line and the program is still written; with --strict it is an
// error and nothing is written. The shipped examples are clean.
#include "base/file_io.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class BatchAudit : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zeran_batch_audit_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        for (const char* f : {"shaft.tcf", "shaft.dxf", "bushing.tcf", "bushing.dxf", "ZERAN.tmf"})
            fs::copy_file(examples / f, dir / f, fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(const std::string& args, std::string& err) {
        const fs::path log = dir / "stderr.txt";
        const int rc = std::system(
            (std::string(ZERAN_BINARY_DIR) + "/src/app/zeran " + args + " 2>" + log.string())
                .c_str());
        err = slurp(log);
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }

    const fs::path examples = fs::path(ZERAN_SOURCE_DIR) / "examples";
    fs::path dir;
};

TEST_F(BatchAudit, ExamplesAreCleanEvenWhenStrict) {
    std::string err;
    for (const char* name : {"shaft", "bushing"}) {
        const fs::path gnc = dir / (std::string(name) + ".gnc");
        EXPECT_EQ(run("--gnc " + (dir / (std::string(name) + ".tcf")).string() +
                          " --strict --output " + gnc.string(),
                      err),
                  0)
            << err;
        EXPECT_EQ(err.find("enter"), std::string::npos) << err;
        EXPECT_EQ(err.find("stock"), std::string::npos) << err;
        EXPECT_TRUE(fs::exists(gnc));
    }
}

TEST_F(BatchAudit, ALinearCycleIntoThePartWarnsOrFailsWhenStrict) {
    // A linear cycle started behind the first shoulder feeds straight through
    // the part to the face, as the linear cycle is defined to.
    std::ofstream(dir / "shaft.tcf", std::ios::binary | std::ios::app)
        << "[Cycle5]\r\nCycleType=7\r\nChecked=1\r\nComment=straight in\r\n"
           "Entity_0=0_0_1\r\nEntity_1=0_0_2\r\nEntity_2=0_0_5\r\nTool_Number=2\r\n"
           "Tool_Width=0.4\r\nParam_StartPosX=14\r\nParam_StartPosZ=-30\r\n"
           "Param_Feed=0.1\r\nParam_Speed=1600\r\nParam_UseFPR=1\r\nParam_UseCSS=0\r\n\r\n";
    const std::string project = (dir / "shaft.tcf").string();
    const fs::path gnc = dir / "warned.gnc";
    std::string err;
    ASSERT_EQ(run("--gnc " + project + " --output " + gnc.string(), err), 0) << err;
    EXPECT_NE(err.find("zeran: warning: cycle 5 (Linear (straight in)): "), std::string::npos)
        << err;
    EXPECT_NE(err.find("enter the part"), std::string::npos) << err;
    EXPECT_EQ(err.find("cycle 1 "), std::string::npos) << "only the faulty cycle is named\n" << err;
    EXPECT_NE(slurp(gnc).find("EPILOGUE"), std::string::npos) << "the program is still written";

    const fs::path strict = dir / "strict.gnc";
    EXPECT_EQ(run("--gnc " + project + " --strict --output " + strict.string(), err), 1);
    EXPECT_NE(err.find("zeran: cycle 5 (Linear (straight in)): "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(strict));
    EXPECT_EQ(run("--post " + project + " --strict --output " + strict.string(), err), 1);
    EXPECT_FALSE(fs::exists(strict));
    // --strict takes no value; a stray one is a usage error, as before.
    EXPECT_EQ(run("--gnc " + project + " --strictly --output " + strict.string(), err), 2);
}

} // namespace
