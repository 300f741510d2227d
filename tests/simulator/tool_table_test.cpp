// The tool magazine file shared with ZERAN, and the dialect guess.
#include "base/ini_document.h"
#include "ncout/tool_library.h"
#include "simulator/core/machine_table.h"
#include "simulator/core/tool_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace simvo {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ToolTable, RoundTripKeepsOtherSectionsAndDropsEmptySlots) {
    const fs::path dir = fs::temp_directory_path() / ("simvo_tools_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "tools.ini";
    std::vector<ToolEntry> table;
    // A missing file is a magazine of empty slots.
    ASSERT_TRUE(load_tool_table(file.string(), 32, table));
    ASSERT_EQ(table.size(), 32u);
    EXPECT_TRUE(table[31].description.empty());

    std::ofstream(file) << "[Machine]\r\nName=Lathe 2\r\n[TURN_TOOLS]\r\n9_Description=old\r\n";
    table.assign(3, {});
    table[0] = {"Rougher", 1, 12.7, 0, 40, 0.8, 3};
    table[2] = {"Drill 18", kToolTypeDrill, 0, 18, 120, 0, 0};
    ASSERT_TRUE(save_tool_table(file.string(), table));
    const std::string text = slurp(file);
    EXPECT_NE(text.find("Name=Lathe 2"), std::string::npos);
    EXPECT_EQ(text.find("9_Description"), std::string::npos); // the section is rewritten
    EXPECT_EQ(text.find("2_Description"), std::string::npos); // empty slot left out
    EXPECT_NE(text.find("1_Description=Rougher"), std::string::npos);
    EXPECT_NE(text.find("1_TipSize=12.7"), std::string::npos);

    std::vector<ToolEntry> back;
    ASSERT_TRUE(load_tool_table(file.string(), 4, back));
    EXPECT_EQ(back[0].description, "Rougher");
    EXPECT_EQ(back[0].orientation, 3);
    EXPECT_DOUBLE_EQ(back[0].nose_radius, 0.8);
    EXPECT_EQ(back[2].type, kToolTypeDrill);
    EXPECT_DOUBLE_EQ(back[2].diameter, 18);
    EXPECT_TRUE(back[3].description.empty());

    // The settings file names the tool file, relative to itself or absolute.
    const std::string settings = simulator_settings_file(dir.string());
    EXPECT_EQ(settings, (dir / "Kelvard" / "SimvoTurning5.ini").string());
    EXPECT_EQ(tool_file_of(settings), (dir / "Kelvard" / "SimvoTools.ini").string());
    fs::create_directories(dir / "Kelvard");
    std::ofstream(settings) << "[Offsets]\nTool Offset File=mine/tools.tt\n";
    EXPECT_EQ(tool_file_of(settings), (dir / "Kelvard" / "mine" / "tools.tt").string());
    std::ofstream(settings) << "[Offsets]\nTool Offset File=/abs/tools.tt\n";
    EXPECT_EQ(tool_file_of(settings), "/abs/tools.tt");
    fs::remove_all(dir);
}

TEST(MachineTable, DialectIsTakenFromWordsOnlyOneControlUses) {
    EXPECT_EQ(guess_dialect("G21\nG18 G7 G90\nT1 M6\nG95\n"), Dialect::LinuxCnc);
    EXPECT_EQ(guess_dialect("N10 G21\nN20 G99\nN30 T0101\nN40 G28 U0.\n"), Dialect::Fanuc);
    EXPECT_EQ(guess_dialect("G21\nG99\nT101\nG28 U0.\n"), Dialect::Haas);
    EXPECT_EQ(guess_dialect("G0 X28 Z3\nG76 P011060 Q50 R0.05\nG76 X22 Z-18 P920 Q300 F1.5\n"),
              Dialect::Fanuc);
    EXPECT_EQ(guess_dialect("G0 X1 Z1\n(nothing)\n"), std::nullopt);
    EXPECT_EQ(guess_dialect("G0 X1 Y(\n"), std::nullopt); // unreadable lines tell nothing
    EXPECT_EQ(machine_for(Dialect::Haas).name, "Haas Lathe");
    EXPECT_EQ(find_machine("LINUXCNC LATHE")->dialect, Dialect::LinuxCnc);
    EXPECT_FALSE(find_machine("Lathe"));
}

} // namespace
} // namespace simvo

namespace simvo {
namespace {

// What the simulator registers and its editor saves is what ZERAN's tool list reads.
TEST(ToolTable, ZeranReadsTheToolsTheEditorSaves) {
    const fs::path config =
        fs::temp_directory_path() / ("simvo_link_" + std::to_string(::getpid()));
    fs::create_directories(config / "Kelvard");
    const fs::path exe = config / "simvoturn";
    std::ofstream(exe) << "";
    const std::string settings = simulator_settings_file(config.string());
    std::ofstream(settings) << "[Simulator]\nApplication=" << exe.string()
                            << "\nVersion=" << kSettingsLayoutVersion
                            << "\n[Offsets]\nTool Offset File=SimvoTools.ini\n";
    std::vector<ToolEntry> table(2);
    table[0] = {"Rougher", 1, 12.7, 0, 40, 0.8, 3};
    table[1] = {"Drill 18", kToolTypeDrill, 5, 18, 120, 0, 0};
    ASSERT_TRUE(save_tool_table(tool_file_of(settings), table));

    const auto ini = zeran::IniDocument::load(settings);
    ASSERT_TRUE(ini);
    const zeran::SimulatorSetup setup = zeran::LocateSimulator(*ini, "/nowhere", config.string());
    EXPECT_EQ(setup.executable, exe.string());
    EXPECT_EQ(setup.major_version, 5);
    const auto list = zeran::ReadToolLibrary(setup);
    ASSERT_EQ(list.size(), 32u); // no machine file: the default slot count
    EXPECT_EQ(list[0].text, "1 - Rougher");
    EXPECT_EQ(list[2].text, "3 - (Empty)");
    const zeran::ToolSize drill = zeran::GetToolSize(&list[1].info);
    EXPECT_DOUBLE_EQ(drill.width, 18); // a drill reports its diameter
    EXPECT_DOUBLE_EQ(zeran::GetToolSize(&list[0].info).width, 12.7);
    fs::remove_all(config);
}

} // namespace
} // namespace simvo
