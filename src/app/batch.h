#pragma once
// The batch side of the zeran program: options that run without a window.
// Each option is one function in its own batch_*.cpp file and one row of the
// table in batch_options.cpp.
#include "dxf/curve_reading.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

enum class ExitCode : int { Success = 0, BadInput = 1, BadUsage = 2 };

struct BatchIo {
    std::ostream& out;
    std::ostream& err;
};

// The arguments after the option's own name, split into plain ones and the
// values of `--name VALUE` pairs that the option accepts.
struct BatchArguments {
    std::vector<std::string> plain;
    std::vector<std::pair<std::string, std::string>> named;
    // The value of a named argument, or empty.
    std::string value(std::string_view name) const;
    bool has(std::string_view name) const;
};

// Splits `args`; an unknown or incomplete `--name` is a usage error, said
// on io.err, and gives false. `flags` name options that take no value; they
// are kept in `named` with an empty value.
bool split_arguments(const std::vector<std::string>& args,
                     const std::vector<std::string_view>& accepted, BatchArguments& out,
                     BatchIo& io, const std::vector<std::string_view>& flags = {});

// True when the command line asks for a batch option (its first argument
// starts with "--"); anything else names a project for the window.
bool is_batch_command(const std::vector<std::string>& args);
// Runs the option named by args[0] with the rest; returns the exit status.
int run_batch(const std::vector<std::string>& args, BatchIo io);

// "zeran: " + text on one line, for standard error.
void report_error(BatchIo& io, std::string_view text);
// A message of several lines (CR LF) as one line.
std::string one_line(std::string_view text);

// Each distinct name with how often it occurs, in the order each first appeared.
std::vector<std::pair<std::string, long long>> name_counts(const std::vector<std::string>& names);

class DXF_Object;
// The --info text of a drawing, the entity types its reading passed over
// ("skipped") and the other names it passed over ("skipped_other").
std::string drawing_json(const DXF_Object& drawing, const std::vector<std::string>& skipped,
                         const SkippedEntities& skipped_entities);

// --sheet paints with Qt, which the batch library does not link: the
// program hands it the runner when it is built with its window.
using BatchRunner = int (*)(const std::vector<std::string>& args, BatchIo& io);
void set_sheet_runner(BatchRunner run);

// The options (one function each).
int batch_info(const std::vector<std::string>& args, BatchIo& io);
int batch_convert(const std::vector<std::string>& args, BatchIo& io);

} // namespace zeran
