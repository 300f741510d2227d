#pragma once
// The post-processor's machine data as both ZERAN and postvex read it: the
// machine tools folder, the machine list of MachData.ini, each machine's
// library and CNC file extension, and the keys handed to the post-processor.
#include "base/ini_document.h"
#include "base/paths.h"

#include <optional>
#include <string>
#include <vector>

namespace zeran {

inline constexpr const char* kMachDataFile = "MachData.ini";
inline constexpr const char* kMarkerLibrary = "Libs/Fanucl.slb";
inline constexpr const char* kDefaultExtension = "FNL";

// `own_folder` unless the settings name, in section "Kelvard Machine Tools"
// key "Directory", a folder that holds Libs/Fanucl.slb. Ends with '/'.
std::string machine_tools_folder(const std::string& own_folder, const IniDocument& settings);

struct MachineEntry {
    std::string name;
    std::string file; // the machine's INI file, resolved
};

struct MachineData {
    std::string library;   // resolved path of the post library
    std::string extension; // without the dot
    // The control takes cutter compensation (G41/G42): key CutterCompensation.
    bool cutter_compensation = false;
};

// The machines of section "Turning", sorted by name without regard to case.
// Empty when MachData.ini is missing or lists none.
std::vector<MachineEntry> read_machine_list(const std::string& folder);

// Library and extension of one machine, defaults filled in.
MachineData read_machine_data(const std::string& folder, const MachineEntry& machine);

// Why the machine cannot be used (its file or its library is missing), or "".
// Posting for it anyway would give another machine's program.
std::string machine_problem(const MachineEntry& machine, const MachineData& data);

// The text shown when no machine is defined.
std::string no_machines_message(const std::string& folder);

// Section "Postvex" of the settings file, written just before the start.
void write_postvex_keys(IniDocument& settings, const std::string& source,
                        const std::string& destination, const std::string& machine);

} // namespace zeran
