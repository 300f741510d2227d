#include "posted_check.h"

#include "gcode_reader.h"
#include "ncout/gnc_interpreter.h"
#include "ncout/gnc_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

namespace simvo {

namespace {

struct PathMove {
    MotionKind kind = MotionKind::Rapid;
    Point to;
    Point centre;
    int line = 0;
    // A post that loses a G41/G42 would have the tip cut the profile.
    Compensation compensation = Compensation::Off;
};

std::string kind_name(MotionKind k) {
    switch (k) {
    case MotionKind::Rapid:
        return "rapid";
    case MotionKind::Feed:
        return "feed";
    case MotionKind::ArcCW:
        return "clockwise arc";
    case MotionKind::ArcCCW:
        return "counter-clockwise arc";
    case MotionKind::Thread:
        return "thread";
    }
    return "move";
}

std::string describe(const PathMove& m) {
    std::ostringstream s;
    s.precision(10);
    s << kind_name(m.kind) << " to X" << 2 * m.to.x << " Z" << m.to.z;
    if (m.kind == MotionKind::ArcCW || m.kind == MotionKind::ArcCCW)
        s << " about X" << 2 * m.centre.x << " Z" << m.centre.z;
    if (m.compensation != Compensation::Off)
        s << " with nose radius compensation "
          << (m.compensation == Compensation::Left ? "left" : "right");
    return s.str();
}

MotionKind motion_kind(zeran::GncMotionKind k) {
    switch (k) {
    case zeran::GncMotionKind::Rapid:
        return MotionKind::Rapid;
    case zeran::GncMotionKind::Feed:
        return MotionKind::Feed;
    case zeran::GncMotionKind::ArcClockwise:
        return MotionKind::ArcCW;
    case zeran::GncMotionKind::ArcCounterClockwise:
        return MotionKind::ArcCCW;
    case zeran::GncMotionKind::Thread:
        return MotionKind::Thread;
    }
    return MotionKind::Rapid;
}

Compensation compensation_of(zeran::GncCompensation c) {
    switch (c) {
    case zeran::GncCompensation::Off:
        return Compensation::Off;
    case zeran::GncCompensation::Left:
        return Compensation::Left;
    case zeran::GncCompensation::Right:
        return Compensation::Right;
    }
    return Compensation::Off;
}

// The GNC path as the records mean it, exactly, before any post rounds it.
std::vector<PathMove> gnc_path(std::string_view text, bool& metric) {
    std::vector<PathMove> out;
    zeran::GncInterpreter interpreter;
    zeran::read_gnc(text, [&](const zeran::GncItem& item) {
        const std::optional<zeran::GncMotion> m = interpreter.take(item);
        if (!m || (m->is_arc() && m->moves_nowhere())) return;
        out.push_back({motion_kind(m->kind),
                       {m->to.X, m->to.Z},
                       {m->centre.X, m->centre.Z},
                       m->line,
                       compensation_of(m->modal.compensation)});
    });
    interpreter.finish();
    metric = interpreter.modal().metric;
    return out;
}

// The program's motion in the same terms: no returns to the reference
// position, each thread cycle one move to its deepest pass.
std::vector<PathMove> gcode_path(const Program& program) {
    std::vector<PathMove> out;
    const auto& motions = program.motions;
    for (std::size_t i = 0; i < motions.size(); ++i) {
        const Motion& m = motions[i];
        if (m.homing) continue;
        bool cycle = false;
        for (std::size_t j = i; j < motions.size() && motions[j].line == m.line; ++j)
            cycle = cycle || (motions[j].kind == MotionKind::Thread && j != i);
        if (cycle) {
            PathMove deepest{MotionKind::Thread, m.from, {}, m.line, m.compensation};
            double depth = -1;
            for (; i < motions.size() && motions[i].line == m.line; ++i) {
                const Motion& t = motions[i];
                if (t.kind != MotionKind::Thread) continue;
                if (std::fabs(t.to.x - m.from.x) > depth) {
                    depth = std::fabs(t.to.x - m.from.x);
                    deepest.to = t.to;
                }
            }
            --i;
            out.push_back(deepest);
            continue;
        }
        out.push_back({m.kind, m.to, m.centre, m.line, m.compensation});
    }
    return out;
}

// Leaves out moves that end where the move before ended: the post skips
// them once rounded, writes one after a tool change, and a return from the
// reference position comes back to where the tool was.
std::vector<PathMove> moving(const std::vector<PathMove>& path, double tolerance) {
    std::vector<PathMove> out;
    for (const PathMove& m : path) {
        const bool arc = m.kind == MotionKind::ArcCW || m.kind == MotionKind::ArcCCW;
        if (!arc && !out.empty() &&
            std::hypot(out.back().to.x - m.to.x, out.back().to.z - m.to.z) <= tolerance)
            continue;
        out.push_back(m);
    }
    return out;
}

} // namespace

std::string compare_with_gnc(std::string_view gnc_text, std::string_view gcode_text,
                             Dialect dialect) {
    bool metric = true;
    std::vector<PathMove> gnc;
    try {
        gnc = gnc_path(gnc_text, metric);
    } catch (const zeran::GncReadError& e) {
        return "the GNC file cannot be read: line " + std::to_string(e.line()) + ": " + e.what();
    } catch (const zeran::GncMeaningError& e) {
        return "the GNC file makes no sound path: " + std::string(e.what());
    }
    Program program;
    try {
        ReaderOptions options;
        options.dialect = dialect;
        program = read_program(gcode_text, options);
    } catch (const ProgramError& e) {
        return "the program cannot be read back: " + std::string(e.what());
    }

    // The posts write millimetres to 0.001 and inches to 0.0001: half a step
    // of rounding on each axis comes on top of the 0.001 mm the check allows.
    const double half_step = metric ? 0.0005 : 0.00005;
    const double tolerance = 0.001 * (metric ? 1.0 : 1 / 25.4) + half_step * std::sqrt(2.0);
    gnc = moving(gnc, tolerance);
    const std::vector<PathMove> posted = moving(gcode_path(program), tolerance);
    auto near = [&](Point a, Point b) { return std::hypot(a.x - b.x, a.z - b.z) <= tolerance; };
    const std::size_t n = std::min(gnc.size(), posted.size());
    for (std::size_t i = 0; i < n; ++i) {
        const PathMove& g = gnc[i];
        const PathMove& p = posted[i];
        const bool arc = g.kind == MotionKind::ArcCW || g.kind == MotionKind::ArcCCW;
        if (g.kind == p.kind && near(g.to, p.to) && (!arc || near(g.centre, p.centre)) &&
            g.compensation == p.compensation)
            continue;
        return "line " + std::to_string(p.line) + " of the program makes a " + describe(p) +
               " where the tool path (GNC line " + std::to_string(g.line) + ") has a " +
               describe(g);
    }
    if (gnc.size() != posted.size())
        return "the program makes " + std::to_string(posted.size()) + " moves, the tool path " +
               std::to_string(gnc.size());
    return {};
}

} // namespace simvo
