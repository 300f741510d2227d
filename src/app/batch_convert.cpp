// zeran --convert DRAWING --output FILE: a drawing read and written again.
#include "app/batch.h"
#include "app/batch_prompt.h"
#include "dxf/dxf_object_reader.h"
#include "dxf/dxf_writer.h"
#include "geometry/progress.h"

#include <system_error>

namespace zeran {

int batch_convert(const std::vector<std::string>& args, BatchIo& io) {
    BatchArguments a;
    if (!split_arguments(args, {"--output"}, a, io)) return static_cast<int>(ExitCode::BadUsage);
    if (a.plain.size() != 1 || !a.has("--output") || a.value("--output").empty()) {
        report_error(io, "--convert takes one drawing and --output FILE (see --help)");
        return static_cast<int>(ExitCode::BadUsage);
    }
    BatchPrompt prompt(io.err);
    NullProgress progress;
    std::string stopped;
    std::unique_ptr<DXF_Object> drawing;
    try {
        drawing = read_dxf_object(a.plain[0], nullptr, prompt, progress, &stopped);
    } catch (const std::system_error& e) {
        report_error(io, e.what());
        return static_cast<int>(ExitCode::BadInput);
    }
    // A drawing cut short is not written: the output would silently lack part of it.
    if (!stopped.empty()) return static_cast<int>(ExitCode::BadInput);
    try {
        write_dxf_file(*drawing, a.value("--output"));
    } catch (const std::exception& e) {
        report_error(io, e.what());
        return static_cast<int>(ExitCode::BadInput);
    }
    return static_cast<int>(ExitCode::Success);
}

} // namespace zeran
