#include "app/batch_post.h"

#include "app/batch_prompt.h"
#include "base/locale_separator.h"
#include "project/post_job.h"

#include <algorithm>
#include <ostream>

namespace zeran {

namespace {

int post(std::vector<std::string> args, BatchIo& io, bool run_postvex) {
    BatchArguments a;
    std::vector<std::string_view> accepted{"--output"};
    std::vector<std::string_view> flags{"--strict"};
    if (run_postvex) {
        accepted.push_back("--machine");
        flags.push_back("--no-check");
    }
    if (!split_arguments(args, accepted, a, io, flags)) return static_cast<int>(ExitCode::BadUsage);
    const bool check = !a.has("--no-check");
    if (a.plain.size() != 1 || a.value("--output").empty()) {
        report_error(
            io, run_postvex ? "usage: --post PROJECT.tcf [--machine NAME] [--strict] --output FILE "
                              "[--no-check]"
                            : "usage: --gnc PROJECT.tcf [--strict] --output FILE.gnc");
        return static_cast<int>(ExitCode::BadUsage);
    }
    PostJob job;
    job.project = a.plain.front();
    job.output = a.value("--output");
    job.machine = a.value("--machine");
    // The window writes GNC and project numbers in the locale's form; so does a batch run.
    job.separator = locale_decimal_separator();
    job.run_postvex = run_postvex;
    job.strict = a.has("--strict");
    job.check_posted = check;
    BatchPrompt prompt(io.err);
    return run_post_job(job, prompt, io.err);
}

} // namespace

int batch_gnc(const std::vector<std::string>& args, BatchIo& io) {
    return post(args, io, false);
}

int batch_post(const std::vector<std::string>& args, BatchIo& io) {
    return post(args, io, true);
}

} // namespace zeran
