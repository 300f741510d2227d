// The batch commands against hostile input and output paths, as a user or a
// script would meet them: one line and exit 1, inputs untouched, nothing
// left behind, no endless runs, and no post-processor outliving zeran.
#include "base/file_io.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class BatchFaults : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_batch_faults_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "tmp");
        const fs::path examples = fs::path(ZERAN_SOURCE_DIR) / "examples";
        for (const char* name : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            fs::copy_file(examples / name, dir / name);
        project = path("shaft.tcf");
        original = *zeran::read_file(project);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    // Exit status of zeran with `args`, its standard error in `err`; runs in
    // the test's folder with a private temporary folder, and never longer than 60 s.
    int run(const std::string& args, const std::string& env = "") {
        const std::string command = "cd " + dir.string() + " && TMPDIR=" + path("tmp") + " " + env +
                                    " timeout 60 " + std::string(ZERAN_BINARY_DIR) +
                                    "/src/app/zeran " + args + " >/dev/null 2>" + path("err");
        const int rc = std::system(command.c_str());
        err = *zeran::read_file(path("err"));
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    bool one_line() const { return std::count(err.begin(), err.end(), '\n') == 1; }
    std::string fake_postvex(const std::string& body) {
        const std::string script = path("postvex.sh");
        std::ofstream(script) << "#!/bin/sh\n" << body;
        fs::permissions(script, fs::perms::owner_all);
        return "ZERAN_POSTVEX=" + script;
    }

    fs::path dir;
    std::string project, original, err;
};

TEST_F(BatchFaults, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
    fs::create_symlink("shaft.tcf", dir / "link.tcf");
    fs::create_hard_link(dir / "shaft.tcf", dir / "hard.tcf");
    for (const std::string output : {"shaft.tcf", "link.tcf", "hard.tcf", "shaft.dxf"}) {
        SCOPED_TRACE(output);
        EXPECT_EQ(run("--post shaft.tcf --output " + output), 1);
        EXPECT_NE(err.find("is the input"), std::string::npos) << err;
        EXPECT_TRUE(one_line()) << err;
        EXPECT_EQ(run("--gnc shaft.tcf --output " + output), 1);
    }
    EXPECT_EQ(run("--convert shaft.dxf --output shaft.dxf"), 1);
    EXPECT_EQ(*zeran::read_file(project), original);
    EXPECT_TRUE(fs::is_symlink(dir / "link.tcf"));
    EXPECT_EQ(run("--post shaft.tcf --output shaft.ngc"), 0) << err;
}

TEST_F(BatchFaults, SpecialFilesAreNotReplacedAndLinksAreFollowed) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    EXPECT_EQ(run("--post shaft.tcf --output fifo"), 1);
    EXPECT_EQ(err, "zeran: fifo is not a regular file\n");
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(run("--gnc shaft.tcf --output /dev/null"), 1);
    EXPECT_EQ(run("--convert shaft.dxf --output /dev/null"), 1);

    ASSERT_TRUE(zeran::write_file_atomically(path("old.ngc"), "old"));
    ::chmod(path("old.ngc").c_str(), 0604);
    fs::create_symlink("old.ngc", dir / "out.ngc");
    EXPECT_EQ(run("--post shaft.tcf --output out.ngc"), 0) << err;
    EXPECT_TRUE(fs::is_symlink(dir / "out.ngc"));
    EXPECT_NE(zeran::read_file(path("old.ngc"))->find("G18"), std::string::npos);
    EXPECT_EQ(fs::status(dir / "old.ngc").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ::chmod(path("old.ngc").c_str(), 0444);
    EXPECT_EQ(run("--post shaft.tcf --output old.ngc"), 1);
    EXPECT_NE(err.find("read-only"), std::string::npos) << err;
}

TEST_F(BatchFaults, EndlessAndHugeInputsEndWithOneLine) {
    for (const std::string args : {"--info /dev/zero", "--convert /dev/zero --output x.tdx",
                                   "--post /dev/zero --output x.ngc"}) {
        SCOPED_TRACE(args);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(run(args), 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_NE(err, "");
        EXPECT_TRUE(one_line()) << err;
    }
    EXPECT_FALSE(fs::exists(dir / "x.tdx"));
    EXPECT_FALSE(fs::exists(dir / "x.ngc"));
}

TEST_F(BatchFaults, LongNamesAMissingTempFolderAndNoLeftovers) {
    const std::string longest(255, 'g');
    EXPECT_EQ(run("--post shaft.tcf --output " + longest), 0) << err;
    EXPECT_TRUE(fs::exists(dir / longest));
    EXPECT_EQ(run("--post shaft.tcf --output out.ngc", "TMPDIR=/nonexistent"), 0) << err;
    EXPECT_EQ(run("--post shaft.tcf --output no_folder/out.ngc"), 1);
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    EXPECT_TRUE(fs::is_empty(dir / "tmp"));
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_NE(e.path().filename().string().rfind(".zeran", 0), 0u) << e.path();
}

TEST_F(BatchFaults, APostProcessorFailureNamesTheProject) {
    // Says what the real one says: the source named in the settings, then why.
    const std::string env = fake_postvex(
        "src=$(sed -n 's/^Source=//p' \"$1\" | tr -d '\\r')\n"
        "echo \"postvex: $src: GNC line 12: thread cycle without a pitch\" >&2\nexit 1\n");
    EXPECT_EQ(run("--post shaft.tcf --output out.ngc", env), 1);
    EXPECT_EQ(err, "zeran: shaft.tcf: GNC line 12: thread cycle without a pitch\n");
}

TEST_F(BatchFaults, ThePostProcessorDiesWithZeran) {
    const std::string env = fake_postvex("sleep 2\necho late > " + path("late.ngc") + "\n");
    const std::string command = "cd " + dir.string() + " && " + env + " " +
                                std::string(ZERAN_BINARY_DIR) +
                                "/src/app/zeran --post shaft.tcf --output late.ngc "
                                "2>/dev/null & echo $! >" +
                                path("pid");
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const pid_t zeran = std::stoi(*zeran::read_file(path("pid")));
    ASSERT_EQ(::kill(zeran, SIGKILL), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    EXPECT_FALSE(fs::exists(dir / "late.ngc"));
}

TEST_F(BatchFaults, ConvertFailsOnLossesUnlessLenient) {
    std::string many = "0\nPOLYLINE\n8\nP\n66\n1\n70\n0\n";
    for (int i = 0; i < 8200; ++i) many += "0\nVERTEX\n8\nP\n10\n1\n20\n1\n";
    many += "0\nSEQEND\n";
    std::ofstream(path("lossy.dxf"))
        << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nL\n10\n0\n20\n0\n11\n1\n21\n1\n"
           "0\nLINE\n8\nL\n10\n1e999\n20\n0\n11\n1\n21\n1\n"
        << many << "0\nENDSEC\n0\nEOF\n";
    EXPECT_EQ(run("--convert lossy.dxf --output lossy.tdx"), 1);
    EXPECT_NE(err.find("left out: 1 LINE, 1 POLYLINE"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "lossy.tdx"));
    EXPECT_EQ(run("--convert lossy.dxf --output lossy.tdx --lenient"), 0);
    EXPECT_NE(err.find("left out: 1 LINE, 1 POLYLINE"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(dir / "lossy.tdx"));
}

} // namespace
