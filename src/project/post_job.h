#pragma once
// Post Process without a window: fill the GNC writer from the project, write
// the GNC file and run the post-processor into the destination.
#include <iosfwd>
#include <string>
#include <vector>

namespace zeran {

class ProjectModel;
class Prompt;
struct CycleFailure;
class TGNCOutput;
class TCanCycle;

// Fills the writer as Post Process does: header (or the writer's blank one),
// every checked cycle prepared and appended in list order, the footer. A
// cycle whose profile runs towards its start point is turned round and
// generated again. Returns the enabled cycles that could not generate.
std::vector<CycleFailure> fill_gnc_writer(ProjectModel& model, TGNCOutput& writer);
// Why a cycle has no tool path, in words for the user.
std::string cycle_reason(const TCanCycle& cycle, bool can_generate);

struct PostJob {
    std::string project;
    std::string output;
    std::string machine;     // empty: the project's, else the first listed
    bool run_postvex = true; // false: write only the GNC file to `output`
    // A path that the audit finds fault with fails the run instead of warning.
    bool strict = false;
    bool check_posted = true; // read the program back and compare it with the GNC path
    std::string postvex;      // the program; empty: found beside this one
    std::string materials;    // the default material file; empty: default_material_path()
    char separator = '.';
};

// The whole batch run; returns the exit code (0 done, 1 bad input) after
// writing one line per problem to `err`; a path the audit finds fault with
// is one warning line per cycle, or an error with `strict`. Questions that
// reading the project raises go to `prompt`. The project is only read.
int run_post_job(const PostJob& job, Prompt& prompt, std::ostream& err);

// Reads a project for a batch run: no questions, the material looked up in
// `materials` (empty: default_material_path()) with a warning on `err` when it
// is missing, nothing written. False after one line on `err`.
bool read_batch_project(ProjectModel& model, const std::string& project,
                        const std::string& materials, char separator, std::ostream& err);

// The material file a project uses when it names none: beside the settings
// file (~/.config/Kelvard/ZERAN.tmf), else beside the program, else the
// installed one; the first of these when none exists.
std::string default_material_path();

// The postvex program next to the running one (installed or build tree), or "".
std::string find_postvex();
// Where postvex keeps MachData.ini for the given program.
std::string postvex_data_folder(const std::string& postvex);

} // namespace zeran
