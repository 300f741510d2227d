#include "ncout/tool_library.h"

#include "base/number_text.h"
#include "ncout/machine_data.h"

#include <filesystem>
#include <system_error>

namespace zeran {

namespace {

// A path named inside a file, taken against that file's folder when relative.
std::string named_in(const std::string& file, const std::string& path) {
    return resolve_in(folder_of(file), path);
}

} // namespace

ToolSize GetToolSize(const TToolInfo* tool) {
    if (!tool) return {};
    return {tool->ToolType == kDrillToolType ? tool->WidthDiameter : tool->TipSize, tool->Length};
}

std::string simulator_settings_path(const SimulatorSetup& setup) {
    if (setup.major_version < 5) return resolve_in(folder_of(setup.executable), "SimvoTurn.ini");
    return resolve_in(setup.app_data_folder, "Kelvard/SimvoTurning5.ini");
}

std::vector<ToolListEntry> ReadToolLibrary(const SimulatorSetup& setup) {
    std::vector<ToolListEntry> list;
    if (setup.executable.empty()) return list;
    const bool v5 = setup.major_version >= 5;
    const std::string settings_path = simulator_settings_path(setup);
    auto settings = IniDocument::load(settings_path);
    if (!settings) return list;

    std::string tool_file = v5 ? settings->read_string("Offsets", "Tool Offset File")
                               : settings->read_string("Tooling", "Tool file name");
    tool_file = named_in(settings_path, tool_file);
    std::string machine_list =
        named_in(settings_path, settings->read_string("Directories", "machine list file"));
    std::string active = settings->read_string("Default Settings", "Active Machine");
    auto tools = IniDocument::load(tool_file);
    if (!tools) return list;

    long long slots = kDefaultToolSlots;
    if (auto machines = IniDocument::load(machine_list)) {
        std::string folder = named_in(machine_list, machines->read_string("Lathes", active));
        if (!folder.empty() && folder.back() != '/') folder += '/';
        if (auto machine = IniDocument::load(folder + active + ".ini"))
            slots = machine->read_int("Tool Change", "Maximum number", kDefaultToolSlots);
    }
    // A damaged machine file must not make the list absurd.
    if (slots < 0 || slots > 1000) slots = kDefaultToolSlots;

    std::optional<IniDocument> data;
    if (!v5) data = IniDocument::load(replace_extension(settings_path, "TTD"));

    for (long long n = 1; n <= slots; ++n) {
        TToolInfo info;
        const std::string slot = std::to_string(n);
        if (v5) {
            info.Name = tools->read_string("TURN_TOOLS", slot + "_Description");
            info.ToolType = static_cast<int>(tools->read_int("TURN_TOOLS", slot + "_ToolType", 0));
            info.TipSize = tools->read_real("TURN_TOOLS", slot + "_TipSize", 0);
            info.WidthDiameter = tools->read_real("TURN_TOOLS", slot + "_Diameter", 0);
            info.Length = tools->read_real("TURN_TOOLS", slot + "_Length", 0);
            info.NoseRadius = tools->read_real("TURN_TOOLS", slot + "_NoseRadius", 0);
            info.NoseOrientation =
                static_cast<int>(tools->read_int("TURN_TOOLS", slot + "_Orientation", 0));
            // A damaged entry is a tool without a known nose.
            if (!(info.NoseRadius >= 0 && info.NoseRadius <= 25)) info.NoseRadius = 0;
            if (info.NoseOrientation < 0 || info.NoseOrientation > 9) info.NoseOrientation = 0;
        } else {
            info.Name = tools->read_string("Tool" + slot, "Tool Name");
            if (data && !info.Name.empty()) {
                info.ToolType = static_cast<int>(data->read_int(info.Name, "Type", 0));
                info.TipSize = data->read_real(info.Name, "Tip Size", 0);
                info.WidthDiameter = data->read_real(info.Name, "Width Diameter", 0);
                info.Length = data->read_real(info.Name, "Length", 0);
            }
        }
        std::string text = slot + " - " + (info.Name.empty() ? "(Empty)" : info.Name);
        list.push_back({std::move(text), std::move(info)});
    }
    return list;
}

SimulatorSetup LocateSimulator(const IniDocument& settings, const std::string& own_folder,
                               const std::string& app_data_folder) {
    SimulatorSetup setup;
    setup.app_data_folder = app_data_folder;
    std::string configured = settings.read_string("Simulator", "Application");
    if (file_exists(configured)) {
        setup.executable = configured;
    } else if (std::string beside = resolve_in(own_folder, "simvoturn"); file_exists(beside)) {
        setup.executable = beside;
    }
    if (!setup.executable.empty())
        GetVersionText(settings.read_string("Simulator", "Version"), 0, &setup.major_version);
    return setup;
}

std::string GetVersionText(const std::string& version, unsigned flags, int* major) {
    // One to four parts of 16 bits each; missing trailing parts are 0.
    long long parts[4] = {0, 0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0;; ++i) {
        if (i == 4) return {};
        std::size_t dot = version.find('.', pos);
        auto n = parse_int(version.substr(pos, dot == std::string::npos ? dot : dot - pos));
        if (!n || *n < 0 || *n > 65535) return {};
        parts[i] = *n;
        if (dot == std::string::npos) break;
        pos = dot + 1;
    }
    if (major) *major = static_cast<int>(parts[0]);
    std::string text = "Ver: " + std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
                       std::to_string(parts[2]) + "." + std::to_string(parts[3]);
    if (flags & 0x20u) text += "a ";
    if (flags & 0x02u) text += " *BETA*";
    return text;
}

bool ForceDirectories(const std::string& path, std::string* error) {
    if (path.empty()) {
        if (error) *error = "Unable to create directory";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec && error) *error = ec.message();
    return folder_exists(path);
}

} // namespace zeran
