#include "app/batch_post.h"

#include "app/batch_prompt.h"
#include "geometry/locale_separator.h"
#include "project/post_job.h"

#include <algorithm>
#include <ostream>

namespace zeran {

namespace {

int post(std::vector<std::string> args, BatchIo& io, bool run_postvex) {
    // A flag without a value: taken out before the named pairs are split.
    const auto no_check = std::find(args.begin(), args.end(), "--no-check");
    const bool check = !run_postvex || no_check == args.end();
    if (run_postvex && no_check != args.end()) args.erase(no_check);
    BatchArguments a;
    std::vector<std::string_view> accepted{"--output"};
    if (run_postvex) accepted.push_back("--machine");
    if (!split_arguments(args, accepted, a, io)) return static_cast<int>(ExitCode::BadUsage);
    if (a.plain.size() != 1 || a.value("--output").empty()) {
        report_error(io, run_postvex ? "usage: --post PROJECT.tcf [--machine NAME] --output FILE "
                                       "[--no-check]"
                                     : "usage: --gnc PROJECT.tcf --output FILE.gnc");
        return static_cast<int>(ExitCode::BadUsage);
    }
    PostJob job;
    job.project = a.plain.front();
    job.output = a.value("--output");
    job.machine = a.value("--machine");
    // The window writes GNC and project numbers in the locale's form; so does a batch run.
    job.separator = locale_decimal_separator();
    job.run_postvex = run_postvex;
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
