#pragma once
// The simulator's tool magazine file: section TURN_TOOLS of an INI file with
// keys "<n>_Description", "<n>_ToolType", "<n>_TipSize", "<n>_Diameter",
// "<n>_Length", "<n>_NoseRadius" and "<n>_Orientation" per slot. ZERAN reads
// the same file for its tool list.
#include <string>
#include <vector>

namespace simvo {

struct ToolEntry {
    std::string description; // empty for an empty slot
    int type = 0;            // 3: a drill, whose diameter is its width
    double tip_size = 0;
    double diameter = 0; // width of a blade, diameter of a drill
    double length = 0;
    double nose_radius = 0;
    int orientation = 0; // tip direction as the controls number it, 0 unknown
};

inline constexpr int kToolTypeDrill = 3;

// `slot_count` entries (slot n is entry n - 1) from the file; missing keys and a
// missing file give empty slot_count. False with *error when the file exists but
// cannot be read.
bool load_tool_table(const std::string& path, int slot_count, std::vector<ToolEntry>& out,
                     std::string* error = nullptr);

// Writes the table into the file, keeping its other sections; empty slot_count
// are left out. The file is replaced only once the new one is complete.
bool save_tool_table(const std::string& path, const std::vector<ToolEntry>& table,
                     std::string* error = nullptr);

// "<config>/Kelvard/SimvoTurning5.ini": where the simulator keeps its settings
// and ZERAN looks for it. `config` is the user's configuration folder.
std::string simulator_settings_file(const std::string& config);

// The tool file the settings name (section "Offsets", key "Tool Offset
// File"), else "SimvoTools.ini" beside the settings file.
std::string tool_file_of(const std::string& settings_file);

// The simulator keeps its settings in the layout of version 5, and says so
// in the settings file for those that read it.
inline constexpr const char* kSettingsLayoutVersion = "5.0.0.0";

// The local socket a running simulator listens on, one per user
// (SIMVOTURN_SOCKET in the environment names another).
std::string instance_socket_name();

} // namespace simvo
