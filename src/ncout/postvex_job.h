#pragma once
// One run of the post-processor: settings file in, the machine's CNC file out.
#include <string>

namespace zeran {

struct PostvexOutcome {
    bool ok = false;
    std::string message; // one line: what went wrong, or what was written
};

// Reads section "Postvex" (Source, Destination, Machine) of the settings file,
// finds the machine through MachData.ini in the machine tools folder (the
// `own_data_folder`, or the one the settings name), and writes the
// destination beside itself and renames it into place, so a failed run leaves
// no file that looks complete.
PostvexOutcome run_postvex_job(const std::string& settings_path,
                               const std::string& own_data_folder);

} // namespace zeran
