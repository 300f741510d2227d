#include "app/batch.h"
#include "app/batch_post.h"

#include <algorithm>
#include <exception>
#include <new>
#include <ostream>

namespace zeran {

namespace {

struct BatchOption {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
    int (*run)(const std::vector<std::string>& args, BatchIo& io);
};

int batch_help(const std::vector<std::string>& args, BatchIo& io);
int batch_version(const std::vector<std::string>& args, BatchIo& io);
int batch_sheet(const std::vector<std::string>& args, BatchIo& io);

BatchRunner sheet_runner = nullptr;

constexpr BatchOption kOptions[] = {
    {"--info", "--info DRAWING.dxf", "layers, entity counts and extents of a drawing as JSON",
     batch_info},
    {"--convert", "--convert DRAWING.dxf --output FILE.tdx [--lenient]",
     "read a drawing and write it as a converted drawing (--lenient: even without the elements "
     "it could not read)",
     batch_convert},
    {"--gnc", "--gnc PROJECT.tcf [--strict] --output FILE.gnc", "write a project's GNC file",
     batch_gnc},
    {"--post", "--post PROJECT.tcf [--machine NAME] [--strict] --output FILE [--no-check]",
     "write a project's G-code for a machine", batch_post},
    {"--sheet", "--sheet PROJECT.tcf --output SHEET.pdf", "write a project's job sheet as PDF",
     batch_sheet},
    {"--help", "--help", "this text", batch_help},
    {"--version", "--version", "the program's version", batch_version},
};

int batch_help(const std::vector<std::string>&, BatchIo& io) {
    io.out << "Usage: zeran [PROJECT.tcf]\n       zeran OPTION ...\n\nOptions:\n";
    for (const BatchOption& o : kOptions) {
        io.out << "  " << o.usage;
        // A long usage puts its summary on the next line, in the same column.
        if (o.usage.size() > 42) io.out << "\n  ";
        for (std::size_t n = o.usage.size() > 42 ? 0 : o.usage.size(); n < 42; ++n) io.out << ' ';
        io.out << ' ' << o.summary << '\n';
    }
    io.out << "\n--strict: a path that enters the part or runs a rapid through uncut stock\n"
              "is an error (nothing is written) instead of a warning.\n";
    io.out << "\nExit status: 0 success, 1 unusable input, 2 bad usage.\n";
    return static_cast<int>(ExitCode::Success);
}

int batch_version(const std::vector<std::string>&, BatchIo& io) {
    io.out << "zeran " << ZERAN_VERSION << '\n';
    return static_cast<int>(ExitCode::Success);
}

int batch_sheet(const std::vector<std::string>& args, BatchIo& io) {
    if (sheet_runner) return sheet_runner(args, io);
    report_error(io, "--sheet needs the program built with its window");
    return static_cast<int>(ExitCode::BadUsage);
}

} // namespace

void set_sheet_runner(BatchRunner run) {
    sheet_runner = run;
}

std::string BatchArguments::value(std::string_view name) const {
    for (const auto& [n, v] : named)
        if (n == name) return v;
    return {};
}

bool BatchArguments::has(std::string_view name) const {
    return std::any_of(named.begin(), named.end(), [&](const auto& p) { return p.first == name; });
}

bool split_arguments(const std::vector<std::string>& args,
                     const std::vector<std::string_view>& accepted, BatchArguments& out,
                     BatchIo& io, const std::vector<std::string_view>& flags) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            out.plain.push_back(a);
            continue;
        }
        if (out.has(a)) {
            report_error(io, a + " is given twice (see --help)");
            return false;
        }
        if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
            out.named.emplace_back(a, std::string());
            continue;
        }
        if (std::find(accepted.begin(), accepted.end(), a) == accepted.end()) {
            report_error(io, "unknown option " + a + " (see --help)");
            return false;
        }
        if (i + 1 >= args.size()) {
            report_error(io, a + " needs a value");
            return false;
        }
        out.named.emplace_back(a, args[++i]);
    }
    return true;
}

bool is_batch_command(const std::vector<std::string>& args) {
    return !args.empty() && args[0].size() > 2 && args[0].compare(0, 2, "--") == 0;
}

int run_batch(const std::vector<std::string>& args, BatchIo io) {
    if (args.empty()) return batch_help(args, io);
    for (const BatchOption& o : kOptions) {
        if (o.name != args[0]) continue;
        // Whatever a run meets ends it with one line, never with an abort.
        try {
            return o.run({args.begin() + 1, args.end()}, io);
        } catch (const std::bad_alloc&) {
            report_error(io, "out of memory");
        } catch (const std::exception& e) {
            report_error(io, e.what());
        }
        return static_cast<int>(ExitCode::BadInput);
    }
    report_error(io, "unknown option " + args[0] + " (see --help)");
    return static_cast<int>(ExitCode::BadUsage);
}

std::string one_line(std::string_view text) {
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(start, end - start);
        while (!part.empty() && (part.back() == '\r' || part.back() == ' ')) part.remove_suffix(1);
        if (!part.empty()) {
            if (!line.empty()) line += " - ";
            line += part;
        }
        start = end + 1;
    }
    return line;
}

void report_error(BatchIo& io, std::string_view text) {
    io.err << "zeran: " << one_line(text) << '\n';
}

} // namespace zeran
