#include "project/post_job.h"

#include "cycles/can_cycle.h"
#include "geometry/file_io.h"
#include "geometry/ini_document.h"
#include "ncout/gnc_writer.h"
#include "ncout/machine_data.h"
#include "ncout/material_db.h"
#include "project/posted_program_check.h"
#include "project/project_file.h"
#include "project/project_model.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zeran {

namespace fs = std::filesystem;

namespace {

std::string one_line(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    std::string out;
    for (char c : text)
        if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
    return out;
}

std::string own_folder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

// Runs a program with arguments and waits for it; -1 when it could not start.
int run_program(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status)
                             : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

bool write_gnc(TGNCOutput& writer, const std::string& path, char separator, std::string& error) {
    try {
        writer.WriteFile(path, separator);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

std::string cycle_reason(const TCanCycle& cycle, bool can_generate) {
    if (!cycle.FailReason.empty()) return cycle.FailReason;
    if (cycle.Elements.empty()) return "its profile holds no elements";
    if (!can_generate) return "its parameters are not complete or its start point is not set";
    return "it produced no tool path";
}

// Loads the project's material without questions: a batch run cannot locate
// a missing file, so it says so and the cycles keep the values stored in the
// project.
void use_material_file(ProjectModel& model, Prompt& prompt, char separator, std::ostream& err) {
    model.load_material = [&model, &prompt, separator, &err](std::string& file, std::string& name,
                                                             TCycleParams& record) {
        if (file.empty()) file = model.default_material_file;
        if (!file_exists(file)) {
            err << "zeran: warning: the material file " << file
                << " does not exist; the cycles keep the values stored in the project\n";
            return 1;
        }
        TMaterialDatabase db;
        db.DefaultPath = model.default_material_file;
        db.DecimalSeparator = separator;
        const std::string wanted = name;
        const int result = LoadMaterial(db, file, name, record, prompt, nullptr);
        if (result == 1)
            err << "zeran: warning: the material \"" << wanted << "\" is not in " << db.Path()
                << "; the cycles keep the values stored in the project\n";
        return result;
    };
}

} // namespace

std::vector<CycleFailure> fill_gnc_writer(ProjectModel& model, TGNCOutput& writer) {
    std::vector<CycleFailure> failures;
    writer.Clear();
    writer.Header = model.header.state_index == kStateChecked ? model.header.header.get()
                                                              : writer.BlankHeader();
    int number = 0;
    for (auto& node : model.cycles) {
        ++number;
        if (!node->checked()) continue;
        model.skip_next_prepare = false;
        TCanCycle& cycle = model.PrepareCycle(*node, true);
        if (model.skip_next_prepare) {
            // Turned round because it ran towards its start point: once more the other way.
            model.skip_next_prepare = false;
            model.PrepareCycle(*node, true);
            model.skip_next_prepare = false;
        }
        if (cycle.NeedsGenerate || cycle.Moves.empty()) {
            failures.push_back({number, node->caption, cycle_reason(cycle, cycle.CanGenerate())});
            continue;
        }
        writer.AppendCycle(&cycle);
    }
    writer.Footer = model.footer.state_index == kStateChecked ? model.footer.footer.get() : nullptr;
    return failures;
}

std::string default_material_path() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    const fs::path own = own_folder();
    std::vector<fs::path> candidates;
    if (!config.empty()) candidates.push_back(fs::path(config) / "Kelvard" / "ZERAN.tmf");
    candidates.push_back(own / "zeran.tmf");
    candidates.push_back(own / ".." / "share" / "zeran" / "ZERAN.tmf");
    for (const fs::path& c : candidates)
        if (file_exists(c.string())) return c.lexically_normal().string();
    return candidates.front().string();
}

std::string find_postvex() {
    if (const char* env = std::getenv("ZERAN_POSTVEX"); env && *env) return env;
    const fs::path dir = own_folder();
    for (const fs::path& candidate : {dir / "postvex", dir / ".." / ".." / "postvex" / "postvex"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
    }
    return {};
}

std::string postvex_data_folder(const std::string& postvex) {
    const fs::path dir = fs::path(postvex).parent_path();
    for (const fs::path& candidate : {dir, dir / ".." / "share" / "zeran" / "postvex"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate / kMachDataFile, ec))
            return candidate.lexically_normal().string();
    }
    return dir.string();
}

int run_post_job(const PostJob& job, Prompt& prompt, std::ostream& err) {
    ProjectModel model(prompt);
    model.default_material_file = job.materials.empty() ? default_material_path() : job.materials;
    model.material_file = model.default_material_file;
    use_material_file(model, prompt, job.separator, err);
    ProjectReadOptions options;
    options.separator = job.separator;
    options.write_missing_tdx = false;
    options.tell_prompt = false;
    std::string error;
    if (!ReadProjectFile(model, job.project, options, &error)) {
        err << "zeran: " << one_line(error) << '\n';
        return 1;
    }
    if (!model.datum_set) {
        err << "zeran: " << job.project << ": the datum is not set\n";
        return 1;
    }

    TGNCOutput writer;
    const std::vector<CycleFailure> failures = fill_gnc_writer(model, writer);
    for (const CycleFailure& f : failures)
        err << "zeran: cycle " << f.number << " (" << f.caption
            << ") cannot generate: " << one_line(f.reason) << '\n';
    if (!failures.empty()) return 1;
    writer.Header->ProjectName = file_name_part(model.project_file_name);

    if (!job.run_postvex) {
        std::string write_error;
        if (!write_gnc(writer, job.output, job.separator, write_error)) {
            err << "zeran: " << one_line(write_error) << '\n';
            return 1;
        }
        return 0;
    }

    const std::string postvex = job.postvex.empty() ? find_postvex() : job.postvex;
    if (postvex.empty()) {
        err << "zeran: the post-processor postvex was not found beside zeran\n";
        return 1;
    }
    std::string machine = job.machine.empty() ? model.machine_name : job.machine;
    const std::string data = postvex_data_folder(postvex);
    const std::vector<MachineEntry> machines = read_machine_list(data);
    if (machine.empty()) {
        if (machines.empty()) {
            err << "zeran: " << one_line(no_machines_message(data)) << '\n';
            return 1;
        }
        machine = machines.front().name;
    }

    // The GNC file and the settings handed to postvex live in a private folder.
    std::string tmpl = (fs::temp_directory_path() / "zeran-post-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        err << "zeran: cannot create a temporary folder\n";
        return 1;
    }
    const fs::path work = tmpl;
    const std::string gnc = (work / "ZERAN.gnc").string();
    const std::string settings_path = (work / "ZERAN.ini").string();
    int code = 1;
    std::string write_error;
    const std::string destination = fs::absolute(job.output).string();
    if (!write_gnc(writer, gnc, job.separator, write_error)) {
        err << "zeran: " << one_line(write_error) << '\n';
    } else {
        IniDocument settings;
        write_postvex_keys(settings, gnc, destination, machine);
        if (!settings.save(settings_path, &write_error)) {
            err << "zeran: " << one_line(write_error) << '\n';
        } else {
            const int rc = run_program(postvex, {settings_path});
            if (rc == 0) {
                code = 0;
                const PostedCheck check = job.check_posted
                                              ? check_posted_program(gnc, destination, machine)
                                              : PostedCheck{true, {}};
                if (!check.checked)
                    err << "zeran: warning: " << destination
                        << " was not read back: its control cannot be told\n";
                if (!check.difference.empty()) {
                    err << "zeran: the posted program does not follow the tool path: "
                        << one_line(check.difference) << '\n';
                    code = 1;
                }
            } else if (rc < 0) {
                err << "zeran: cannot start " << postvex << '\n';
            } else {
                err << "zeran: postvex ended with exit code " << rc << '\n';
            }
        }
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    return code;
}

} // namespace zeran
