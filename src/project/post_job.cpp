#include "project/post_job.h"

#include "base/file_io.h"
#include "base/ini_document.h"
#include "cycles/can_cycle.h"
#include "ncout/gnc_writer.h"
#include "ncout/machine_data.h"
#include "ncout/material_db.h"
#include "project/child_process.h"
#include "project/posted_program_check.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/project_session.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sys/mman.h>
#include <unistd.h>

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

// A file that lives only in memory and is handed to the post-processor as
// /dev/fd/N: nothing is left on disk however the run ends. -1 on failure.
int memory_file(const char* name, std::string_view content, std::string& error) {
    const int fd = memfd_create(name, 0); // inherited by the post-processor
    if (fd < 0) {
        error = std::string("cannot create the temporary ") + name + ": " + system_reason(errno);
        return -1;
    }
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = std::string("cannot write the temporary ") + name + ": " + system_reason(errno);
            ::close(fd);
            return -1;
        }
        done += static_cast<std::size_t>(n);
    }
    return fd;
}

// The post-processor's message about the project, not about a temporary file.
std::string postvex_message(const std::string& text, const std::string& gnc) {
    std::string message = one_line(text);
    while (!message.empty() && message.back() == ' ') message.pop_back();
    for (const std::string& prefix : {std::string("postvex: "), gnc + ": "})
        if (message.compare(0, prefix.size(), prefix) == 0) message.erase(0, prefix.size());
    for (std::size_t at; (at = message.find(gnc)) != std::string::npos;)
        message.replace(at, gnc.size(), "the GNC program");
    return message;
}

// The files a project run reads: none of them may be the output.
std::vector<std::string> project_inputs(const ProjectModel& model, const std::string& project) {
    std::vector<std::string> inputs{project, model.material_file};
    for (const char* ext : {"tdx", "TDX", "dxf", "DXF"})
        inputs.push_back(replace_extension(project, ext));
    return inputs;
}

bool write_gnc(TGNCOutput& writer, const std::string& path, char separator, std::string& error,
               const std::string& project) {
    try {
        writer.WriteFile(path, separator);
        return true;
    } catch (const GncValueError& e) {
        error = project + ": " + e.what();
        return false;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

// Loads the project's material without questions: a batch run cannot locate
// a missing file, so it says so and the cycles keep the values stored in the
// project.
void use_material_file(ProjectModel& model, Prompt& prompt, char separator, std::ostream& err) {
    model.settings.load_material = [&model, &prompt, separator, &err](
                                       std::string& file, std::string& name, TCycleParams& record) {
        if (file.empty()) file = model.settings.default_material_file;
        if (!file_exists(file)) {
            err << "zeran: warning: the material file " << file
                << " does not exist; the cycles keep the values stored in the project\n";
            return 1;
        }
        TMaterialDatabase db;
        db.DefaultPath = model.settings.default_material_file;
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

std::string cycle_reason(const TCanCycle& cycle, bool can_generate) {
    if (!cycle.FailReason.empty()) return cycle.FailReason;
    if (cycle.Elements.empty()) return "its profile holds no elements";
    if (!can_generate) return "its parameters are not complete or its start point is not set";
    return "it produced no tool path";
}

std::vector<CycleFailure> fill_gnc_writer(ProjectModel& model, TGNCOutput& writer) {
    std::vector<CycleFailure> failures;
    // The post writes the paths the view shows; only cycles whose inputs
    // changed since their last generation are generated here.
    settle_cycles(model);
    writer.Clear();
    writer.Header = model.header.state_index == kStateChecked ? model.header.header.get()
                                                              : writer.BlankHeader();
    int number = 0;
    for (auto& node : model.cycles) {
        ++number;
        if (!node->checked()) continue;
        TCanCycle& cycle = *node->cycle;
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

bool read_batch_project(ProjectModel& model, const std::string& project,
                        const std::string& materials, char separator, std::ostream& err) {
    model.settings.default_material_file = materials.empty() ? default_material_path() : materials;
    model.material_file = model.settings.default_material_file;
    use_material_file(model, model.prompt(), separator, err);
    ProjectReadOptions options;
    options.separator = separator;
    options.write_missing_tdx = false;
    options.tell_prompt = false;
    std::string error;
    if (!ReadProjectFile(model, project, options, &error)) {
        err << "zeran: " << one_line(error) << '\n';
        return false;
    }
    return true;
}

namespace {

// The written program read back and compared with the GNC path: 0 when it
// follows it (or its control cannot be told, which is only warned about).
int read_back(const std::string& gnc, const std::string& destination, const std::string& machine,
              std::ostream& err) {
    const PostedCheck check = check_posted_program(gnc, destination, machine);
    if (!check.checked)
        err << "zeran: warning: " << destination
            << " was not read back: its control cannot be told\n";
    if (check.difference.empty()) return 0;
    err << "zeran: the posted program does not follow the tool path: " << one_line(check.difference)
        << '\n';
    return 1;
}

} // namespace

int run_post_job(const PostJob& job, Prompt& prompt, std::ostream& err) {
    ProjectModel model(prompt);
    if (!read_batch_project(model, job.project, job.materials, job.separator, err)) return 1;
    if (!model.datum_set) {
        err << "zeran: " << job.project << ": the datum is not set\n";
        return 1;
    }
    if (const std::string problem =
            output_path_problem(job.output, project_inputs(model, job.project));
        !problem.empty()) {
        err << "zeran: " << one_line(problem) << '\n';
        return 1;
    }

    TGNCOutput writer;
    const std::vector<CycleFailure> failures = fill_gnc_writer(model, writer);
    for (const CycleFailure& f : failures)
        err << "zeran: cycle " << f.number << " (" << f.caption
            << ") cannot generate: " << one_line(f.reason) << '\n';
    if (!failures.empty()) return 1;
    const std::vector<CycleFailure> faulty = model.AuditPaths();
    for (const CycleFailure& f : faulty)
        err << "zeran: " << (job.strict ? "" : "warning: ") << "cycle " << f.number << " ("
            << f.caption << "): " << f.reason << '\n';
    if (job.strict && !faulty.empty()) return 1;
    writer.Header->ProjectName = file_name_part(model.project_file_name);

    if (!job.run_postvex) {
        std::string write_error;
        if (!write_gnc(writer, job.output, job.separator, write_error, job.project)) {
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

    // The GNC file and the settings handed to postvex live in memory only.
    const std::string destination = fs::absolute(job.output).string();
    std::string error_text;
    std::string gnc_text;
    try {
        gnc_text = writer.Text(job.separator);
    } catch (const std::exception& e) {
        err << "zeran: " << job.project << ": " << one_line(e.what()) << '\n';
        return 1;
    }
    const int gnc_fd = memory_file("ZERAN.gnc", gnc_text, error_text);
    if (gnc_fd < 0) {
        err << "zeran: " << error_text << '\n';
        return 1;
    }
    const std::string gnc = "/dev/fd/" + std::to_string(gnc_fd);
    IniDocument settings;
    write_postvex_keys(settings, gnc, destination, machine);
    const int settings_fd = memory_file("ZERAN.ini", settings.text(), error_text);
    if (settings_fd < 0) {
        ::close(gnc_fd);
        err << "zeran: " << error_text << '\n';
        return 1;
    }
    const ChildResult run = run_child(postvex, {"/dev/fd/" + std::to_string(settings_fd)});
    int code = 1;
    if (run.exit_code == 0)
        code = job.check_posted ? read_back(gnc, destination, machine, err) : 0;
    else if (run.exit_code < 0)
        err << "zeran: cannot start " << postvex << '\n';
    else if (!run.error_text.empty())
        err << "zeran: " << job.project << ": " << postvex_message(run.error_text, gnc) << '\n';
    else
        err << "zeran: " << job.project << ": postvex ended with exit code " << run.exit_code
            << '\n';
    // The GNC stays readable through its descriptor until the read-back is done.
    ::close(gnc_fd);
    ::close(settings_fd);
    return code;
}

} // namespace zeran
