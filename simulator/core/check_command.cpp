#include "check_command.h"

#include "cycle_time.h"
#include "gcode_reader.h"
#include "simulation.h"
#include "tool_table.h"

#include "base/paths.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace simvo {

namespace {

// Tool numbers a program may call from a table.
constexpr int kToolSlots = 99;

struct CheckArgs {
    std::string program;
    std::string machine;
    std::string stock;
    std::string tools; // a tool table whose nose radii the compensated moves cut with
    bool json = false;
};

bool parse_number(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && std::isfinite(value);
}

// "LENGTH,RADIUS", both positive.
bool parse_stock(const std::string& text, StockSize& stock) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    return parse_number(text.substr(0, comma), stock.length) &&
           parse_number(text.substr(comma + 1), stock.radius) && stock.length > 0 &&
           stock.radius > 0;
}

std::string json_text(const std::string& s) {
    std::ostringstream o;
    o << '"';
    for (unsigned char c : s) {
        if (c == '"' || c == '\\')
            o << '\\' << c;
        else if (c < 0x20)
            o << "\\u" << std::hex << std::setw(4) << std::setfill('0') << static_cast<int>(c)
              << std::dec;
        else
            o << c;
    }
    o << '"';
    return o.str();
}

std::string clock_text(double seconds) {
    const long long s = std::llround(seconds);
    std::ostringstream o;
    o << std::setfill('0') << std::setw(2) << s / 3600 << ':' << std::setw(2) << s / 60 % 60 << ':'
      << std::setw(2) << s % 60;
    return o.str();
}

int usage_error(std::ostream& err, const std::string& why) {
    err << "simvoturn: " << why << "\nusage: " << check_usage() << '\n';
    return 2;
}

void print_text(std::ostream& out, const CheckArgs& a, const StockSize& stock,
                const std::vector<Finding>& findings, double seconds) {
    out << a.program << ": " << a.machine << ", stock length " << stock.length << " radius "
        << stock.radius;
    if (stock.front != 0) out << " from Z" << stock.front;
    out << (stock.from_program ? " (from the program's cuts)" : "") << '\n';
    for (const Finding& f : findings) out << "line " << f.line << ": " << f.message << '\n';
    out << findings.size() << (findings.size() == 1 ? " finding" : " findings") << ", cycle time "
        << clock_text(seconds) << " (" << std::fixed << std::setprecision(1) << seconds << " s)\n";
    out.unsetf(std::ios::floatfield);
}

void print_json(std::ostream& out, const CheckArgs& a, const StockSize& stock,
                const std::vector<Finding>& findings, double seconds) {
    out << "{\"program\": " << json_text(a.program) << ", \"machine\": " << json_text(a.machine)
        << ", \"stock\": {\"length\": " << stock.length << ", \"radius\": " << stock.radius
        << ", \"front\": " << stock.front
        << ", \"from_program\": " << (stock.from_program ? "true" : "false")
        << "}, \"findings\": [";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out << (i ? ", " : "") << "{\"line\": " << f.line
            << ", \"kind\": " << json_text(std::string(finding_key(f.kind)))
            << ", \"message\": " << json_text(f.message) << "}";
    }
    out << "], \"cycle_time_seconds\": " << std::fixed << std::setprecision(1) << seconds << "}\n";
    out.unsetf(std::ios::floatfield);
}

} // namespace

const char* check_usage() {
    return "simvoturn --check PROGRAM --machine NAME [--stock LENGTH,RADIUS] [--tools FILE] "
           "[--json]";
}

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CheckArgs a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--check")
            ok = value(a.program);
        else if (arg == "--machine")
            ok = value(a.machine);
        else if (arg == "--stock")
            ok = value(a.stock);
        else if (arg == "--tools")
            ok = value(a.tools);
        else if (arg == "--json")
            a.json = true;
        else
            return usage_error(err, "unknown argument \"" + arg + "\"");
        if (!ok) return usage_error(err, arg + " needs a value");
    }
    if (a.program.empty()) return usage_error(err, "no program to check");
    if (a.machine.empty()) return usage_error(err, "no machine named");
    const std::optional<Machine> machine = find_machine(a.machine);
    if (!machine) {
        std::string names;
        for (const Machine& m : known_machines()) names += (names.empty() ? "" : ", ") + m.name;
        return usage_error(err, "unknown machine \"" + a.machine + "\" (known: " + names + ")");
    }
    a.machine = machine->name;
    StockSize stock;
    if (!a.stock.empty() && !parse_stock(a.stock, stock))
        return usage_error(err, "--stock wants two positive numbers: LENGTH,RADIUS");

    std::ifstream in(a.program, std::ios::binary);
    if (!in) {
        err << "simvoturn: cannot read " << a.program << '\n';
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    ReaderOptions options;
    options.dialect = machine->dialect;
    options.home = {machine->home_x / 2, machine->home_z};
    Program program;
    try {
        program = read_program(text.str(), options);
    } catch (const ProgramError& e) {
        err << "simvoturn: " << a.program << ": " << e.what() << '\n';
        return 1;
    }
    if (a.stock.empty()) stock = stock_from_program(program);
    NoseRadii radii;
    if (!a.tools.empty()) {
        std::vector<ToolEntry> tools;
        std::string error;
        if (!zeran::file_exists(a.tools) || !load_tool_table(a.tools, kToolSlots, tools, &error)) {
            err << "simvoturn: cannot read tool table " << a.tools
                << (error.empty() ? "" : ": " + error) << '\n';
            return 1;
        }
        for (std::size_t i = 0; i < tools.size(); ++i)
            if (tools[i].nose_radius > 0) radii[static_cast<int>(i) + 1] = tools[i].nose_radius;
    }
    const std::vector<Finding> findings = simulate(program, *machine, stock, radii);
    const double seconds = cycle_seconds(program, *machine);
    if (a.json)
        print_json(out, a, stock, findings, seconds);
    else
        print_text(out, a, stock, findings, seconds);
    return findings.empty() ? 0 : 1;
}

} // namespace simvo
