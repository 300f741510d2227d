#include "ncout/postvex_job.h"

#include "base/file_io.h"
#include "base/ini_document.h"
#include "ncout/gnc_reader.h"
#include "ncout/machine_data.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"

namespace zeran {

namespace {

PostvexOutcome fail(std::string message) {
    return {false, std::move(message)};
}

} // namespace

PostvexOutcome run_postvex_job(const std::string& settings_path,
                               const std::string& own_data_folder) {
    std::string error;
    auto settings = IniDocument::load(settings_path, &error);
    if (!settings) return fail("cannot read settings file " + settings_path + ": " + error);
    std::string source = settings->read_string("Postvex", "Source");
    std::string destination = settings->read_string("Postvex", "Destination");
    std::string machine = settings->read_string("Postvex", "Machine");
    if (source.empty() || destination.empty() || machine.empty())
        return fail("section \"Postvex\" of " + settings_path +
                    " must give Source, Destination and Machine");

    std::string folder = machine_tools_folder(own_data_folder, *settings);
    auto machines = read_machine_list(folder);
    if (machines.empty()) return fail(no_machines_message(folder));
    const MachineEntry* entry = nullptr;
    for (const auto& m : machines)
        if (iequals(m.name, machine)) entry = &m;
    if (!entry)
        return fail("machine " + quoted_value(machine) + " is not listed in " + folder +
                    kMachDataFile);
    MachineData data = read_machine_data(folder, *entry);
    if (std::string problem = machine_problem(*entry, data); !problem.empty()) return fail(problem);
    if (std::string problem = output_path_problem(destination, {source, settings_path});
        !problem.empty())
        return fail(problem);

    auto gnc_text = read_file(source, &error);
    if (!gnc_text) return fail("cannot read GNC file " + source + ": " + error);
    std::string program;
    try {
        PostLibrary library = PostLibrary::load(data.library);
        program = post_process_text(*gnc_text, library, {entry->name, data.cutter_compensation});
    } catch (const GncReadError& e) {
        return fail(source + ": " + e.what());
    } catch (const PostError& e) {
        return fail(source + ": " + e.what());
    } catch (const PostLibraryError& e) {
        return fail(e.what());
    }
    if (!write_file_atomically(destination, program, &error)) return fail(error);
    return {true, "wrote " + destination + " for " + entry->name};
}

} // namespace zeran
