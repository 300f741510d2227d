// The simulator's tool magazine in both layouts, tool sizes, locating the
// simulator, version texts and folder creation.
#include "base/file_io.h"
#include "base/ini_document.h"
#include "ncout/simulator_link.h"
#include "ncout/tool_library.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zeran {
namespace {

namespace fs = std::filesystem;

class ToolLibrary : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = test::scratch_dir("zeran_tools");
        fs::remove_all(dir);
        fs::create_directories(dir / "sim");
        write((dir / "sim" / "simvoturn").string(), "");
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& path, const std::string& text) {
        ASSERT_TRUE(write_file_atomically(path, text)) << path;
    }
    SimulatorSetup setup(int version) {
        return {(dir / "sim" / "simvoturn").string(), version, (dir / "appdata").string()};
    }
};

TEST_F(ToolLibrary, ShippedExampleInTheNewerLayout) {
    fs::create_directories(dir / "appdata");
    fs::copy(fs::path(ZERAN_SOURCE_DIR) / "examples" / "tools", dir / "appdata" / "Kelvard",
             fs::copy_options::recursive);
    auto list = ReadToolLibrary(setup(5));
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0].text, "1 - CNMG 120408 80 deg roughing");
    EXPECT_EQ(list[7].text, "8 - Parting blade 2 mm");
    ToolSize groove = GetToolSize(&list[2].info);
    EXPECT_EQ(groove.width, 3.0);
    EXPECT_EQ(groove.length, 25.0);
    ToolSize drill = GetToolSize(&list[4].info);
    EXPECT_EQ(drill.width, 10.0); // a drill reports its diameter
    EXPECT_EQ(drill.length, 133.0);
    EXPECT_EQ(GetToolSize(&list[0].info).width, 0.8);
    EXPECT_EQ(GetToolSize(nullptr).width, 0.0);
    // The same files read as the older layout find nothing.
    EXPECT_TRUE(ReadToolLibrary(setup(4)).empty());
}

TEST_F(ToolLibrary, NoseRadiusAndOrientationAreOptionalAndKeptSane) {
    fs::create_directories(dir / "appdata" / "Kelvard");
    write((dir / "appdata" / "Kelvard" / "SimvoTurning5.ini").string(),
          "[Offsets]\nTool Offset File=tools.ini\n");
    write((dir / "appdata" / "Kelvard" / "tools.ini").string(),
          "[TURN_TOOLS]\n1_Description=VNMG\n1_TipSize=0.4\n1_NoseRadius=0.4\n"
          "1_Orientation=2\n2_Description=Damaged\n2_NoseRadius=-1\n2_Orientation=12\n"
          "3_Description=Old entry\n");
    auto list = ReadToolLibrary(setup(5));
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[0].info.NoseRadius, 0.4);
    EXPECT_EQ(list[0].info.NoseOrientation, 2);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(list[i].info.NoseRadius, 0.0) << list[i].text;
        EXPECT_EQ(list[i].info.NoseOrientation, 0) << list[i].text;
    }
}

TEST_F(ToolLibrary, OlderLayoutWithToolDataBesideTheSettings) {
    write((dir / "sim" / "SimvoTurn.ini").string(),
          "[Tooling]\nTool file name=" + (dir / "sim" / "shop.tools").string() +
              "\n[Directories]\nmachine list file=lathes.ini\n"
              "[Default Settings]\nActive Machine=Mill Lathe\n");
    write((dir / "sim" / "shop.tools").string(), "[Tool1]\nTool Name=Roughing\n"
                                                 "[Tool3]\nTool Name=Drill 8\n");
    write((dir / "sim" / "SimvoTurn.TTD").string(),
          "[Roughing]\nType=1\nTip Size=0.8\nLength=40\n"
          "[Drill 8]\nType=3\nTip Size=0.1\nWidth Diameter=8\nLength=90\n");
    write((dir / "sim" / "lathes.ini").string(), "[Lathes]\nMill Lathe=" + dir.string() + "/m\n");
    fs::create_directories(dir / "m");
    write((dir / "m" / "Mill Lathe.ini").string(), "[Tool Change]\nMaximum number=4\n");
    auto list = ReadToolLibrary(setup(0));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].text, "1 - Roughing");
    EXPECT_EQ(list[1].text, "2 - (Empty)");
    EXPECT_EQ(list[2].text, "3 - Drill 8");
    EXPECT_EQ(GetToolSize(&list[0].info).width, 0.8);
    EXPECT_EQ(GetToolSize(&list[2].info).width, 8.0);
    EXPECT_EQ(GetToolSize(&list[2].info).length, 90.0);
    EXPECT_EQ(list[1].info.ToolType, 0);

    // Without machine data the magazine has 32 slots; without tool data no sizes.
    fs::remove(dir / "m" / "Mill Lathe.ini");
    fs::remove(dir / "sim" / "SimvoTurn.TTD");
    list = ReadToolLibrary(setup(4));
    ASSERT_EQ(list.size(), 32u);
    EXPECT_EQ(list[31].text, "32 - (Empty)");
    EXPECT_EQ(GetToolSize(&list[0].info).width, 0.0);

    // No tool file, no settings file, no simulator: an empty list.
    fs::remove(dir / "sim" / "shop.tools");
    EXPECT_TRUE(ReadToolLibrary(setup(4)).empty());
    EXPECT_TRUE(ReadToolLibrary(SimulatorSetup{}).empty());
}

TEST_F(ToolLibrary, LocatingTheSimulatorAndItsVersion) {
    IniDocument settings;
    std::string own = (dir / "sim").string();
    EXPECT_EQ(LocateSimulator(settings, own, "").executable, own + "/simvoturn");
    EXPECT_EQ(LocateSimulator(settings, own, "").major_version, 0);
    settings.write("Simulator", "Application", (dir / "missing").string());
    settings.write("Simulator", "Version", "5.2.0.17");
    auto found = LocateSimulator(settings, own, "");
    EXPECT_EQ(found.executable, own + "/simvoturn"); // a missing file counts as none
    EXPECT_EQ(found.major_version, 5);
    EXPECT_EQ(simulator_settings_path({"/x/simvoturn", 5, "/home/u/.config"}),
              "/home/u/.config/Kelvard/SimvoTurning5.ini");
    EXPECT_EQ(simulator_settings_path({"/x/simvoturn", 4, "/home/u/.config"}), "/x/SimvoTurn.ini");
    EXPECT_TRUE(LocateSimulator(settings, (dir / "nowhere").string(), "").executable.empty());

    int major = -1;
    EXPECT_EQ(GetVersionText("5.2.0.17", 0, &major), "Ver: 5.2.0.17");
    EXPECT_EQ(major, 5);
    EXPECT_EQ(GetVersionText("4.1", 0x22), "Ver: 4.1.0.0a  *BETA*");
    major = -1;
    for (const char* bad : {"", "five", "1.2.3.4.5", "70000", "1..2"})
        EXPECT_EQ(GetVersionText(bad, 0, &major), "") << bad;
    EXPECT_EQ(major, -1);
}

TEST(SimulatorLink, CommandLineAndTheBrokenWorkingFolder) {
    EXPECT_EQ(SimulatorCommandLine("/opt/sim/simvoturn", "/jobs/a b.ngc"),
              "\"/opt/sim/simvoturn\" \"/jobs/a b.ngc\"");
    EXPECT_EQ(SimulatorCommandLine("/opt/sim/simvoturn", ""), "\"/opt/sim/simvoturn\"");
    auto chars = [](const std::string& s) { return static_cast<int>(s.size()); };
    EXPECT_EQ(LayoutPathLabel("/home/ann", 20, chars), "/home/ann");
    // Pieces up to each separator fill a line while they fit; the rest is the last line.
    EXPECT_EQ(LayoutPathLabel("/home/ann/turning/work/today", 12, chars),
              "/home/ann/\nturning/\nwork/\ntoday\n");
    // A piece wider than the label stands on its own line.
    EXPECT_EQ(LayoutPathLabel("/averyveryverylongfolder/x", 10, chars),
              "/\naveryveryverylongfolder/\nx\n");
}

TEST_F(ToolLibrary, ForcingFolders) {
    std::string error;
    EXPECT_FALSE(ForceDirectories("", &error));
    EXPECT_EQ(error, "Unable to create directory");
    EXPECT_TRUE(ForceDirectories((dir / "a" / "b" / "c").string()));
    EXPECT_TRUE(fs::is_directory(dir / "a" / "b" / "c"));
    write((dir / "file").string(), "x");
    EXPECT_FALSE(ForceDirectories((dir / "file" / "sub").string(), &error));
}

} // namespace
} // namespace zeran
