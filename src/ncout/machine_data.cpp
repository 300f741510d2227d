#include "ncout/machine_data.h"

#include "base/text_util.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace zeran {

namespace fs = std::filesystem;

namespace {

bool less_nocase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Machine files are written by hand: "1", "true" and "yes" all say yes.
bool is_yes(const std::string& value) {
    return value == "1" || iequals(value, "true") || iequals(value, "yes");
}

} // namespace

std::string machine_tools_folder(const std::string& own_folder, const IniDocument& settings) {
    std::string configured = settings.read_string("Kelvard Machine Tools", "Directory");
    if (!configured.empty() && file_exists(with_slash(configured) + kMarkerLibrary))
        return with_slash(configured);
    return with_slash(own_folder);
}

std::vector<MachineEntry> read_machine_list(const std::string& folder) {
    std::vector<MachineEntry> list;
    auto doc = IniDocument::load(with_slash(folder) + kMachDataFile);
    if (!doc) return list;
    for (const auto& key : doc->key_names("Turning"))
        list.push_back({key, resolve_in(folder, doc->read_string("Turning", key))});
    std::stable_sort(list.begin(), list.end(), [](const MachineEntry& a, const MachineEntry& b) {
        return less_nocase(a.name, b.name);
    });
    return list;
}

MachineData read_machine_data(const std::string& folder, const MachineEntry& machine) {
    MachineData data{with_slash(folder) + kMarkerLibrary, kDefaultExtension, false};
    auto doc = IniDocument::load(machine.file);
    if (!doc) return data;
    std::string library = doc->read_string(machine.name, "Library");
    if (!library.empty()) data.library = resolve_in(folder, library);
    std::string extension = doc->read_string(machine.name, "Extension");
    if (!extension.empty()) data.extension = extension;
    data.cutter_compensation = is_yes(doc->read_string(machine.name, "CutterCompensation"));
    return data;
}

std::string machine_problem(const MachineEntry& machine, const MachineData& data) {
    if (!file_exists(machine.file))
        return "the file " + machine.file + " of machine \"" + machine.name + "\" does not exist";
    if (!file_exists(data.library))
        return "the post library " + data.library + " of machine \"" + machine.name +
               "\" does not exist";
    return {};
}

std::string no_machines_message(const std::string& folder) {
    return "Unable to read any machines defined in the \"Turning\" section of " +
           with_slash(folder) + kMachDataFile + ".";
}

void write_postvex_keys(IniDocument& settings, const std::string& source,
                        const std::string& destination, const std::string& machine) {
    settings.write("Postvex", "Source", source);
    settings.write("Postvex", "Destination", destination);
    settings.write("Postvex", "Machine", machine);
}

} // namespace zeran
