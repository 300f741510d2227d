#include "ncout/post_setup.h"

#include <cctype>

namespace zeran {

bool TPostSetup::LoadMachines(const std::string& own_folder, const IniDocument& settings,
                              Prompt& prompt) {
    MachineToolsFolder = machine_tools_folder(own_folder, settings);
    Machines = read_machine_list(MachineToolsFolder);
    if (Machines.empty()) {
        Selected = -1;
        prompt.tell(MessageKind::Error, no_machines_message(MachineToolsFolder));
        return false;
    }
    Selected = 0;
    RefreshMachine();
    return true;
}

bool TPostSetup::Begin(const std::string& own_folder, const IniDocument& settings, Prompt& prompt,
                       const std::string& gnc_file, const std::string& destination,
                       const std::string& previous_machine) {
    Destination = destination;
    if (!LoadMachines(own_folder, settings, prompt)) return false;
    SelectMachine(previous_machine);
    Source = gnc_file;
    RefreshMachine();
    return true;
}

void TPostSetup::SelectMachine(const std::string& name) {
    for (std::size_t i = 0; i < Machines.size(); ++i) {
        if (Machines[i].name == name) {
            Selected = static_cast<int>(i);
            return;
        }
    }
}

void TPostSetup::ClickMachine(int index) {
    if (index < 0 || index >= static_cast<int>(Machines.size())) return;
    Selected = index;
    RefreshMachine();
}

void TPostSetup::RefreshMachine() {
    if (Selected < 0 || Selected >= static_cast<int>(Machines.size())) return;
    MachineData data =
        read_machine_data(MachineToolsFolder, Machines[static_cast<std::size_t>(Selected)]);
    Library = data.library;
    Extension = data.extension;
    SetDestination(Destination);
}

void TPostSetup::SetDestination(const std::string& path) {
    Destination = Extension.empty() ? path : replace_extension(path, Extension);
}

const std::string& TPostSetup::MachineName() const {
    static const std::string none;
    if (Selected < 0 || Selected >= static_cast<int>(Machines.size())) return none;
    return Machines[static_cast<std::size_t>(Selected)].name;
}

bool TPostSetup::OkEnabled() const {
    return !Machines.empty() && file_exists(Library) && folder_exists(folder_of(Destination));
}

std::string TPostSetup::OverwriteQuestion() const {
    if (!file_exists(Destination)) return {};
    return "The file " + Destination + ", already exists.\n\nDo wish to overwrite it?";
}

std::string TPostSetup::BrowseFilter() const {
    std::string lower = Extension;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "Turn CNC files (*." + lower + ")|*." + Extension + "|Any file (*.*)|*.*";
}

void TPostSetup::WritePostvexKeys(IniDocument& settings) const {
    write_postvex_keys(settings, Source, Destination, MachineName());
}

} // namespace zeran
