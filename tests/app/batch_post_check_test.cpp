// zeran --post reads every program it writes back with the simulator's
// reader: a post-processor that writes a move the tool path does not have
// fails the run, unless --no-check asks otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(BatchPostCheck, AFaultyPostProcessorFailsTheRunUnlessTheCheckIsOff) {
    const fs::path zeran = fs::path(ZERAN_BINARY_DIR) / "src" / "app" / "zeran";
    const fs::path postvex = fs::path(ZERAN_BINARY_DIR) / "postvex" / "postvex";
    if (!fs::exists(zeran) || !fs::exists(postvex)) GTEST_SKIP() << "zeran or postvex not built";
    const fs::path dir =
        fs::temp_directory_path() / ("zeran_post_check_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // The real post-processor, then one stray move added before the spindle stops.
    const fs::path faulty = dir / "faulty_postvex";
    std::ofstream(faulty) << "#!/bin/sh\n"
                          << "'" << postvex.string() << "' \"$1\" || exit $?\n"
                          << "d=$(sed -n 's/^Destination=//p' \"$1\" | tr -d '\\r')\n"
                          << "sed -i 's/^M5$/G1 X30 Z-1\\nM5/' \"$d\"\n";
    fs::permissions(faulty, fs::perms::owner_all);
    const fs::path project = fs::path(ZERAN_SOURCE_DIR) / "examples" / "shaft.tcf";
    const fs::path out = dir / "shaft.ngc";
    const fs::path log = dir / "err.txt";
    auto post = [&](const std::string& program, const std::string& extra) {
        const std::string cmd = "ZERAN_POSTVEX='" + program + "' '" + zeran.string() +
                                "' --post '" + project.string() +
                                "' --machine 'LinuxCNC Lathe' --output '" + out.string() + "'" +
                                extra + " 2>'" + log.string() + "'";
        const int rc = std::system(cmd.c_str());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    };
    EXPECT_EQ(post(postvex.string(), ""), 0) << slurp(log);
    EXPECT_EQ(post(faulty.string(), ""), 1);
    EXPECT_NE(slurp(log).find("the posted program does not follow the tool path"),
              std::string::npos)
        << slurp(log);
    EXPECT_NE(slurp(out).find("G1 X30 Z-1"), std::string::npos); // the program is still written
    EXPECT_EQ(post(faulty.string(), " --no-check"), 0) << slurp(log);
    EXPECT_EQ(post(faulty.string(), " --no-check --no-check"), 2); // the flag is not a pair
    fs::remove_all(dir);
}

} // namespace
