// Saving and reading files as every writer and reader does: what lands where,
// what is refused, and what is left behind.
#include "base/file_io.h"
#include "base/ini_document.h"
#include "base/text_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zeran {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_file_io_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    // Everything in the folder but the named files: temporary leftovers.
    std::vector<std::string> others(const std::vector<std::string>& known) const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) found.push_back(name);
        }
        return found;
    }
    fs::path dir;
};

TEST_F(FileIo, ALinkIsFollowedAndTheTargetKeepsItsMode) {
    const std::string target = path("part.nc");
    ASSERT_TRUE(write_file_atomically(target, "old"));
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("part.nc", dir / "link.nc");
    std::string error;
    ASSERT_TRUE(write_file_atomically(path("link.nc"), "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.nc"));
    EXPECT_EQ(read_file(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A link to a file not there yet creates the file, not a regular file in the link's place.
    fs::create_symlink("later.nc", dir / "dangling.nc");
    ASSERT_TRUE(write_file_atomically(path("dangling.nc"), "x", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.nc"));
    EXPECT_EQ(read_file(path("later.nc")), "x");
    EXPECT_TRUE(others({"part.nc", "link.nc", "dangling.nc", "later.nc"}).empty());
}

TEST_F(FileIo, SpecialAndReadOnlyTargetsAreRefusedAndLeftAlone) {
    const std::string fifo = path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir / "folder");
    const std::string locked = path("locked.nc");
    ASSERT_TRUE(write_file_atomically(locked, "kept"));
    ::chmod(locked.c_str(), 0444);
    std::string error;
    EXPECT_FALSE(write_file_atomically(fifo, "x", &error));
    EXPECT_EQ(error, fifo + " is not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_FALSE(write_file_atomically(path("folder"), "x", &error));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    // Refused even for root, whom the write bits do not stop.
    EXPECT_FALSE(write_file_atomically(locked, "x", &error));
    EXPECT_EQ(error, locked + " is read-only");
    EXPECT_EQ(read_file(locked), "kept");
    EXPECT_FALSE(write_file_atomically("/dev/null", "x", &error));
    EXPECT_TRUE(others({"fifo", "folder", "locked.nc"}).empty());
}

TEST_F(FileIo, LongNamesWorkAndFailuresSayWhyAndLeaveNothing) {
    const std::string longest = path(std::string(255, 'n'));
    std::string error;
    ASSERT_TRUE(write_file_atomically(longest, "g-code", &error)) << error;
    EXPECT_EQ(read_file(longest), "g-code");
    ASSERT_TRUE(write_file_atomically(longest, "again", &error)) << error;
    EXPECT_EQ(read_file(longest), "again");

    const std::string missing = path("no_folder/out.nc");
    EXPECT_FALSE(write_file_atomically(missing, "x", &error));
    EXPECT_EQ(error, "Cannot create file " + missing + ": No such file or directory");
    EXPECT_FALSE(read_file(missing, &error));
    EXPECT_EQ(error, "Cannot open file " + missing + ": No such file or directory");
    EXPECT_TRUE(others({std::string(255, 'n')}).empty());
}

TEST_F(FileIo, EndlessOrHugeSourcesAreRefusedNotSwallowed) {
    std::string error;
    EXPECT_FALSE(read_file("/dev/zero", &error, 1 << 20));
    EXPECT_NE(error.find("larger than"), std::string::npos) << error;
    EXPECT_FALSE(IniDocument::load("/dev/zero", &error));
    const std::string small = path("small.ini");
    ASSERT_TRUE(write_file_atomically(small, "[A]\nb=1\n"));
    EXPECT_TRUE(read_file(small, &error, 8));
    EXPECT_FALSE(read_file(small, &error, 7));
    EXPECT_FALSE(read_file(dir.string(), &error));
}

TEST_F(FileIo, AnOutputThatIsAnInputIsFoundThroughLinks) {
    const std::string input = path("job.tcf");
    ASSERT_TRUE(write_file_atomically(input, "project"));
    fs::create_symlink("job.tcf", dir / "soft.tcf");
    fs::create_hard_link(input, dir / "hard.tcf");
    for (const char* name : {"job.tcf", "soft.tcf", "hard.tcf"})
        EXPECT_NE(output_path_problem(path(name), {"/nowhere", input}), "") << name;
    EXPECT_EQ(output_path_problem(path("new.nc"), {input}), "");
    EXPECT_EQ(output_path_problem("/dev/null", {input}), "/dev/null is not a regular file");
    EXPECT_TRUE(same_file(path("soft.tcf"), path("hard.tcf")));
    EXPECT_FALSE(same_file(path("new.nc"), path("new.nc")));
}

TEST(QuotedValue, ShortPrintableAndEscaped) {
    EXPECT_EQ(quoted_value("1.5x"), "\"1.5x\"");
    EXPECT_EQ(quoted_value(std::string("a\0b\x1b[2J\xff\"\\", 10)),
              "\"a\\x00b\\x1B[2J\\xFF\\\"\\\\\"");
    const std::string shown = quoted_value(std::string(5000, '9'));
    EXPECT_EQ(shown, "\"" + std::string(80, '9') + "...\"");
}

TEST(IniDocument, LookupsSurviveErasingAndKeepTheFirstOfTwinKeys) {
    auto doc = IniDocument::parse("[S1]\nA=1\na=2\nB=3\n[s2]\nC=4\n[S3]\nD=5\n");
    EXPECT_EQ(doc.read_string("s1", "A"), "1");
    doc.erase_key("S1", "a");
    EXPECT_EQ(doc.read_string("S1", "b"), "3");
    doc.erase_section("S2");
    EXPECT_EQ(doc.read_string("S3", "d"), "5");
    EXPECT_FALSE(doc.has_section("S2"));
    doc.write("S3", "d", "6");
    doc.write("S4", "E", "7");
    EXPECT_EQ(doc.text(), "[S1]\r\nB=3\r\n\r\n[S3]\r\nD=6\r\n\r\n[S4]\r\nE=7\r\n\r\n");
    IniDocument copy = doc;
    copy.clear();
    EXPECT_FALSE(copy.has_key("S1", "B"));
    EXPECT_TRUE(doc.has_key("S1", "B"));
}

} // namespace
} // namespace zeran
