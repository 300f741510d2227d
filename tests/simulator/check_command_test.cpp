// The batch check end to end: arguments, exit codes and both report forms,
// and the examples posted for every shipped machine.
#include "simulator/core/check_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace simvo {
namespace {

namespace fs = std::filesystem;

struct CheckRun {
    int code;
    std::string out, err;
};

CheckRun check(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = run_check(args, out, err);
    return {code, out.str(), err.str()};
}

fs::path write_temp(const std::string& name, const std::string& text) {
    const fs::path p = fs::temp_directory_path() / (std::to_string(::getpid()) + "_" + name);
    std::ofstream(p, std::ios::binary) << text;
    return p;
}

TEST(CheckCommand, ExitCodesReportsAndUsage) {
    const std::string golden = std::string(ZERAN_TEST_DATA) + "/ncout/job.FNL";
    CheckRun r = check({"--check", golden, "--machine", "fanuc lathe"});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("0 findings, cycle time 00:0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(from the program's cuts)"), std::string::npos);

    const fs::path faulty = write_temp("faulty.FNL", "G21\nG99\nT0101\nG97 S500 M03\n"
                                                     "G00 X44. Z2.\nG00 X30. Z-10.\nM30\n");
    r = check(
        {"--check", faulty.string(), "--machine", "Fanuc Lathe", "--stock", "50,20", "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(
        r.out.find(
            "\"stock\": {\"length\": 50, \"radius\": 20, \"front\": 0, \"from_program\": false}"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"line\": 6, \"kind\": \"rapid_through_stock\""), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"cycle_time_seconds\": "), std::string::npos);

    // A finishing pass in the control's compensation, cut with the round the
    // tool table gives tool 1.
    const fs::path compensated =
        write_temp("comp.FNL", "G21\nG99\nT0101\nG97 S800 M03\nG00 X52. Z2.\nX20.\n"
                               "G42 G01 Z0. F0.1\nX24. Z-2.\nZ-28.\nX34.\nZ-45.\nG40 X52.\n"
                               "G00 Z2.\nM30\n");
    const fs::path tools = write_temp("tools.ini", "[TURN_TOOLS]\n1_Description=CNMG\n"
                                                   "1_NoseRadius=0.8\n1_Orientation=2\n");
    r = check({"--check", compensated.string(), "--machine", "Fanuc Lathe", "--stock", "50,20",
               "--tools", tools.string()});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    fs::remove(compensated);
    fs::remove(tools);

    const fs::path bad = write_temp("bad.NC", "G21\nG0 X10 Y2\n");
    r = check({"--check", bad.string(), "--machine", "Haas Lathe"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("line 2: word \"Y2\""), std::string::npos) << r.err;
    EXPECT_EQ(check({"--check", "/no/such/file", "--machine", "Haas Lathe"}).code, 1);
    r = check({"--check", golden, "--machine", "Haas Lathe", "--tools", "/no/such/tools.ini"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot read tool table /no/such/tools.ini"), std::string::npos) << r.err;

    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"--check", golden},
             {"--check", golden, "--machine"},
             {"--check", golden, "--machine", "Lathe 9"},
             {"--check", golden, "--machine", "Haas Lathe", "--stock", "50"},
             {"--check", golden, "--machine", "Haas Lathe", "--stock", "50,-2"},
             {"--check", golden, "--machine", "Haas Lathe", "--fast"}}) {
        r = check(args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: simvoturn --check"), std::string::npos);
    }
    fs::remove(faulty);
    fs::remove(bad);
}

TEST(CheckCommand, ExamplesPostedForEveryMachineHaveNoFinding) {
    const fs::path zeran = fs::path(ZERAN_BINARY_DIR) / "src" / "app" / "zeran";
    if (!fs::exists(zeran)) GTEST_SKIP() << "the zeran program is not built";
    struct Example {
        const char* project;
        const char* billet; // length,radius as the project gives it
    };
    for (const Example& e : {Example{"shaft", "102,19"}, Example{"bushing", "50,20.5"}}) {
        for (const char* machine : {"Fanuc Lathe", "Haas Lathe", "LinuxCNC Lathe"}) {
            const fs::path nc = write_temp(std::string(e.project) + ".nc", "");
            const std::string post = zeran.string() + " --post " + ZERAN_SOURCE_DIR + "/examples/" +
                                     e.project + ".tcf --machine \"" + machine + "\" --output " +
                                     nc.string();
            ASSERT_EQ(std::system(post.c_str()), 0) << post;
            for (const std::string& stock : {std::string(), std::string(e.billet)}) {
                std::vector<std::string> args{"--check", nc.string(), "--machine", machine};
                if (!stock.empty()) args.insert(args.end(), {"--stock", stock});
                const CheckRun r = check(args);
                EXPECT_EQ(r.code, 0) << e.project << " " << machine << "\n" << r.out << r.err;
            }
            fs::remove(nc);
        }
    }
}

} // namespace
} // namespace simvo
