#pragma once
// The simulator link's file side: where the simulator is, its version, and
// the tool magazine read from its tool files in the layouts before and from
// version 5.
#include "base/ini_document.h"

#include <string>
#include <vector>

namespace zeran {

struct TToolInfo {
    std::string Name; // empty for an empty slot
    int ToolType = 0;
    double TipSize = 0;
    double WidthDiameter = 0;
    double Length = 0;
    // Version 5 files may give the insert's nose; absent keys read as 0.
    double NoseRadius = 0;
    int NoseOrientation = 0; // 1..9 as LinuxCNC numbers it, 0 unknown
};

// One entry of the tool list: "n - Name" or "n - (Empty)"; slot n is entry n - 1.
struct ToolListEntry {
    std::string text;
    TToolInfo info;
};

inline constexpr int kDrillToolType = 3; // reports its diameter as its width
inline constexpr int kDefaultToolSlots = 32;

struct ToolSize {
    double width = 0;
    double length = 0;
};
// With no tool both are 0.
ToolSize GetToolSize(const TToolInfo* tool);

// Where the simulator keeps its files, as the locating step found them.
struct SimulatorSetup {
    std::string executable;      // empty: not installed
    int major_version = 0;       // 0 when unknown: the layout before version 5
    std::string app_data_folder; // the user's application-data folder
};

// The simulator's settings file: beside the executable ("SimvoTurn.ini")
// below version 5, "<app data>/Kelvard/SimvoTurning5.ini" from version 5.
std::string simulator_settings_path(const SimulatorSetup& setup);

// Steps of the tool list load. Paths named inside the files may be relative
// to the file that names them. Any missing file leaves the list empty;
// missing keys give empty names, zero sizes and 32 slots.
std::vector<ToolListEntry> ReadToolLibrary(const SimulatorSetup& setup);

// The simulator: section "Simulator" key "Application" of the settings when
// that file exists, else "simvoturn" in `own_folder`; empty when neither is
// there. Its version comes from key "Version" ("5.1.0.3") of the same section.
SimulatorSetup LocateSimulator(const IniDocument& settings, const std::string& own_folder,
                               const std::string& app_data_folder);

// "Ver: 5.1.0.3", with "a " appended for a special build (flag 0x20) and
// " *BETA*" for a pre-release (flag 0x02). Empty for an empty or unreadable
// version; *major is set only when the version is readable.
std::string GetVersionText(const std::string& version, unsigned flags = 0, int* major = nullptr);

// Creates every missing level of the folder; false for an empty path or a
// folder that still does not exist afterwards (*error says why).
bool ForceDirectories(const std::string& path, std::string* error = nullptr);

} // namespace zeran
