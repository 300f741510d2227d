#pragma once
// What the post-processing dialog decides, without the window: the machine
// list, the selected machine's library and extension, the destination with
// that extension, when OK may be pressed, and the keys written for postvex.
#include "base/ini_document.h"
#include "base/prompt.h"
#include "ncout/machine_data.h"

#include <string>
#include <vector>

namespace zeran {

class TPostSetup {
public:
    std::string MachineToolsFolder; // ends with '/'
    std::vector<MachineEntry> Machines;
    int Selected = -1;
    std::string Library;     // EditLib
    std::string Extension;   // without the dot
    std::string Source;      // EditSource: the GNC file just written
    std::string Destination; // EditDest

    // The steps before the dialog shows: load the machines (false when there
    // are none), select the previous machine, give the destination the
    // machine's extension and take the GNC file as the source.
    bool Begin(const std::string& own_folder, const IniDocument& settings, Prompt& prompt,
               const std::string& gnc_file, const std::string& destination,
               const std::string& previous_machine);
    // Fills the sorted machine list and selects the first machine; with no
    // machine the message goes through the prompt and the result is false.
    bool LoadMachines(const std::string& own_folder, const IniDocument& settings, Prompt& prompt);
    // The first machine of exactly that name; no match keeps the selection.
    void SelectMachine(const std::string& name);
    // A click in the list: select and refresh.
    void ClickMachine(int index);
    // Library and extension of the selected machine; the destination takes
    // the extension.
    void RefreshMachine();
    void SetDestination(const std::string& path);
    const std::string& MachineName() const;

    // Machines listed, library present, destination folder present.
    bool OkEnabled() const;
    // The overwrite question when the destination exists, else empty.
    std::string OverwriteQuestion() const;
    // The file dialog's filter for the destination.
    std::string BrowseFilter() const;
    // Section "Postvex" of the settings, written just before postvex starts.
    void WritePostvexKeys(IniDocument& settings) const;
};

} // namespace zeran
