// Posting the shipped example projects in batch: the G-code must run through
// LinuxCNC's own interpreter, and bad input must end with a message, not a
// half-written file.
#include "base/file_io.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string zeran_program() {
    return std::string(ZERAN_BINARY_DIR) + "/src/app/zeran";
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class BatchPost : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zeran_batch_post_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(const std::string& args, std::string* err = nullptr) {
        const fs::path log = dir / "stderr.txt";
        const int rc = std::system((zeran_program() + " " + args + " 2>" + log.string()).c_str());
        if (err) *err = slurp(log);
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }

    fs::path dir;
};

TEST_F(BatchPost, ExamplesRunThroughTheLinuxCncInterpreter) {
    const char* rs274 = "/usr/bin/rs274";
    if (!fs::exists(rs274)) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
    const fs::path table = dir / "lathe.tbl";
    std::ofstream(table) << "T1 P1 X0 Z0 D0.8 ;roughing\nT2 P2 X0 Z0 D0.4 ;finishing\n"
                            "T3 P3 X0 Z0 D0.2 ;grooving 3 mm\nT4 P4 X0 Z0 ;threading\n"
                            "T5 P5 X0 Z0 D18 ;drill 18 mm\nT6 P6 X0 Z0 D0.4 ;boring bar\n";
    for (const std::string name : {"shaft", "bushing"}) {
        // A private copy, so that nothing else working on the examples meets this run.
        const fs::path examples = fs::path(ZERAN_SOURCE_DIR) / "examples";
        for (const std::string ext : {".tcf", ".dxf"})
            fs::copy_file(examples / (name + ext), dir / (name + ext));
        fs::copy_file(examples / "ZERAN.tmf", dir / "ZERAN.tmf",
                      fs::copy_options::overwrite_existing);
        const fs::path project = dir / (name + ".tcf");
        const fs::path program = dir / (name + ".ngc");
        std::string err;
        ASSERT_EQ(run("--post " + project.string() + " --machine \"LinuxCNC Lathe\" --output " +
                          program.string(),
                      &err),
                  0)
            << err;
        const std::string code = slurp(program);
        ASSERT_FALSE(code.empty());
        // The batch run only reads the project: nothing is written beside it.
        EXPECT_FALSE(fs::exists(dir / (name + ".tdx")));
        EXPECT_EQ(err, "");

        const fs::path out = dir / (name + ".rs274.txt");
        // rs274 keeps its tool data in $HOME/.tool.mmap: runs side by side need homes of their own.
        const int rc = std::system(("HOME='" + dir.string() + "' timeout 60 " + std::string(rs274) +
                                    " -g -t " + table.string() + " " + program.string() + " >" +
                                    out.string() + " 2>&1")
                                       .c_str());
        const std::string log = slurp(out);
        EXPECT_EQ(rc, 0) << name << "\n" << log.substr(0, 3000);
        EXPECT_NE(log.find("PROGRAM_END"), std::string::npos) << name;
        for (const char* word : {"error", "Error", "not found", "differs"})
            EXPECT_EQ(log.find(word), std::string::npos) << name << ": " << word << "\n"
                                                         << log.substr(0, 3000);
        if (name == "shaft") {
            EXPECT_NE(log.find("START_SPEED_FEED_SYNC"), std::string::npos) << "the thread is cut";
            EXPECT_NE(log.find("ARC_FEED"), std::string::npos) << "the fillet is cut";
        }
    }
}

TEST_F(BatchPost, GncOfAProjectAndBadInput) {
    const fs::path project = fs::path(ZERAN_SOURCE_DIR) / "examples" / "shaft.tcf";
    const fs::path gnc = dir / "shaft.gnc";
    ASSERT_EQ(run("--gnc " + project.string() + " --output " + gnc.string()), 0);
    const std::string text = slurp(gnc);
    EXPECT_EQ(text.rfind("string machine_type(4) = \"TURN\"\r\n", 0), 0u);
    EXPECT_NE(text.find("PROJECT = \"Spindra Turning - shaft.tcf\""), std::string::npos);
    EXPECT_NE(text.find("THREAD_CYCLE"), std::string::npos);
    EXPECT_NE(text.find("CIRC_TRAV"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 10), "EPILOGUE\r\n");

    // Usage errors exit 2; unreadable projects exit 1 with one line and no output file.
    EXPECT_EQ(run("--gnc " + project.string()), 2);
    const fs::path missing = dir / "missing.gnc";
    std::string err;
    EXPECT_EQ(
        run("--gnc " + (dir / "nothing.tcf").string() + " --output " + missing.string(), &err), 1);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_NE(err.find("Unable to load project"), std::string::npos) << err;

    // A cycle that cannot generate is named with its number and reason.
    std::string damaged = slurp(project);
    const std::string key = "Param_Feed=0.1";
    damaged.replace(damaged.find(key), key.size(), "Param_Feed=0");
    const fs::path copy = dir / "shaft.tcf";
    ASSERT_TRUE(zeran::write_file_atomically(copy.string(), damaged));
    fs::copy_file(fs::path(ZERAN_SOURCE_DIR) / "examples" / "shaft.dxf", dir / "shaft.dxf");
    EXPECT_EQ(run("--gnc " + copy.string() + " --output " + missing.string(), &err), 1);
    EXPECT_NE(err.find("cycle 2"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(BatchPost, MaterialFileOfTheProjectIsReadAndItsAbsenceIsToldNotFatal) {
    // The example names "ZERAN.tmf", which resolves beside the project.
    const fs::path examples = fs::path(ZERAN_SOURCE_DIR) / "examples";
    std::string text = slurp(examples / "shaft.tcf");
    ASSERT_NE(text.find("File=ZERAN.tmf\r\n"), std::string::npos);
    ASSERT_TRUE(zeran::write_file_atomically((dir / "shaft.tcf").string(), text));
    fs::copy_file(examples / "shaft.dxf", dir / "shaft.dxf");
    fs::copy_file(examples / "ZERAN.tmf", dir / "ZERAN.tmf");
    const fs::path gnc = dir / "shaft.gnc";
    const std::string args = "--gnc " + (dir / "shaft.tcf").string() + " --output " + gnc.string();
    std::string err;
    ASSERT_EQ(run(args, &err), 0) << err;
    EXPECT_EQ(err, "");
    const std::string with_materials = slurp(gnc);

    // Without the file the run still posts the same program from the
    // project's own values, and says which file it could not find.
    fs::remove(dir / "ZERAN.tmf");
    fs::remove(gnc);
    ASSERT_EQ(run(args, &err), 0) << err;
    EXPECT_NE(err.find("material file"), std::string::npos) << err;
    EXPECT_NE(err.find("does not exist"), std::string::npos) << err;
    EXPECT_EQ(slurp(gnc), with_materials);

    // A material the file does not hold is named; a damaged file is no crash.
    fs::copy_file(examples / "ZERAN.tmf", dir / "ZERAN.tmf");
    text.replace(text.find("Name=Mild Steel (Metric)"), 24, "Name=Unobtainium");
    ASSERT_TRUE(zeran::write_file_atomically((dir / "shaft.tcf").string(), text));
    ASSERT_EQ(run(args, &err), 0) << err;
    EXPECT_NE(err.find("\"Unobtainium\" is not in"), std::string::npos) << err;
    ASSERT_TRUE(zeran::write_file_atomically((dir / "ZERAN.tmf").string(),
                                             "[Unobtainium]\r\nFeed rate=fast\r\n\x01=\r\n"));
    EXPECT_EQ(run(args, &err), 0) << err;
}

} // namespace
