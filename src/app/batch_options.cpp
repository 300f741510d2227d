#include "app/batch.h"
#include "app/batch_post.h"

#include <algorithm>
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

constexpr BatchOption kOptions[] = {
    {"--info", "--info DRAWING.dxf", "layers, entity counts and extents of a drawing as JSON",
     batch_info},
    {"--convert", "--convert DRAWING.dxf --output FILE.tdx",
     "read a drawing and write it as a converted drawing", batch_convert},
    {"--gnc", "--gnc PROJECT.tcf --output FILE.gnc", "write a project's GNC file", batch_gnc},
    {"--post", "--post PROJECT.tcf [--machine NAME] --output FILE [--no-check]",
     "write a project's G-code for a machine", batch_post},
    {"--help", "--help", "this text", batch_help},
    {"--version", "--version", "the program's version", batch_version},
};

int batch_help(const std::vector<std::string>&, BatchIo& io) {
    io.out << "Usage: zeran [PROJECT.tcf]\n       zeran OPTION ...\n\nOptions:\n";
    for (const BatchOption& o : kOptions) {
        io.out << "  " << o.usage;
        for (std::size_t n = o.usage.size(); n < 42; ++n) io.out << ' ';
        io.out << ' ' << o.summary << '\n';
    }
    io.out << "\nExit status: 0 success, 1 unusable input, 2 bad usage.\n";
    return static_cast<int>(ExitCode::Success);
}

int batch_version(const std::vector<std::string>&, BatchIo& io) {
    io.out << "zeran " << ZERAN_VERSION << '\n';
    return static_cast<int>(ExitCode::Success);
}

} // namespace

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
                     BatchIo& io) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            out.plain.push_back(a);
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
    for (const BatchOption& o : kOptions)
        if (o.name == args[0]) return o.run({args.begin() + 1, args.end()}, io);
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
