// zeran --convert DRAWING --output FILE [--lenient]: a drawing read and written again.
#include "app/batch.h"
#include "app/batch_prompt.h"
#include "base/file_io.h"
#include "base/progress.h"
#include "dxf/dxf_object_reader.h"
#include "dxf/dxf_writer.h"

#include <ostream>
#include <system_error>

namespace zeran {

namespace {

// "2 LINE, 1 POLYLINE"
std::string loss_text(const std::vector<std::string>& lost) {
    std::string text;
    for (const auto& [name, count] : name_counts(lost)) {
        if (!text.empty()) text += ", ";
        text += std::to_string(count) + " " + name;
    }
    return text;
}

} // namespace

int batch_convert(const std::vector<std::string>& args, BatchIo& io) {
    // --lenient is a flag without a value.
    std::vector<std::string> rest;
    bool lenient = false;
    for (const std::string& arg : args) {
        if (arg == "--lenient")
            lenient = true;
        else
            rest.push_back(arg);
    }
    BatchArguments a;
    if (!split_arguments(rest, {"--output"}, a, io)) return static_cast<int>(ExitCode::BadUsage);
    if (a.plain.size() != 1 || !a.has("--output") || a.value("--output").empty()) {
        report_error(io, "--convert takes one drawing and --output FILE (see --help)");
        return static_cast<int>(ExitCode::BadUsage);
    }
    const std::string output = a.value("--output");
    if (const std::string problem = output_path_problem(output, {a.plain[0]}); !problem.empty()) {
        report_error(io, problem);
        return static_cast<int>(ExitCode::BadInput);
    }
    BatchPrompt prompt(io.err);
    NullProgress progress;
    std::string stopped;
    std::vector<std::string> lost;
    std::unique_ptr<DXF_Object> drawing;
    try {
        drawing = read_dxf_object(a.plain[0], nullptr, prompt, progress, &stopped, &lost);
    } catch (const std::system_error& e) {
        report_error(io, e.what());
        return static_cast<int>(ExitCode::BadInput);
    }
    // A drawing cut short is not written: the output would silently lack part of it.
    if (!stopped.empty()) return static_cast<int>(ExitCode::BadInput);
    // So is one that lost elements, unless the user accepts the loss.
    if (!lost.empty()) {
        report_error(io, "elements that could not be read and are left out: " + loss_text(lost));
        if (!lenient) return static_cast<int>(ExitCode::BadInput);
    }
    try {
        write_dxf_file(*drawing, output);
    } catch (const std::exception& e) {
        report_error(io, e.what());
        return static_cast<int>(ExitCode::BadInput);
    }
    return static_cast<int>(ExitCode::Success);
}

} // namespace zeran
