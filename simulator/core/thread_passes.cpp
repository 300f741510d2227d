#include "thread_passes.h"

#include <algorithm>
#include <cmath>

namespace simvo {

namespace {

constexpr int kMaxPasses = 1000;

void add(std::vector<Motion>& out, const Motion& model, MotionKind kind, Point from, Point to) {
    Motion m = model;
    m.kind = kind;
    m.from = from;
    m.to = to;
    out.push_back(m);
}

} // namespace

void append_thread_passes(const ThreadCycle& c, const Motion& model, std::vector<Motion>& out) {
    const int line = model.line;
    const double depth = std::fabs(c.root - c.crest);
    if (depth <= 0) throw ProgramError(line, "thread cycle with no depth");
    if (c.lead <= 0) throw ProgramError(line, "thread cycle with no lead");
    if (c.first_depth <= 0) throw ProgramError(line, "thread cycle with no first cut depth");
    if (c.end_z == c.start.z) throw ProgramError(line, "thread cycle with no length");
    const double inward = c.root < c.crest ? -1.0 : 1.0; // outside threads cut towards the axis
    const double rough = std::max(0.0, depth - c.finish_allowance);

    // Constant chip area: pass k reaches first_depth * sqrt(k).
    std::vector<double> depths;
    double reached = 0;
    for (int k = 1; reached < rough - 1e-9; ++k) {
        if (k > kMaxPasses) throw ProgramError(line, "thread cycle needs more than 1000 passes");
        double d = std::min(rough, c.first_depth * std::sqrt(static_cast<double>(k)));
        if (d - reached < c.min_depth) d = std::min(rough, reached + c.min_depth);
        depths.push_back(d);
        reached = d;
    }
    depths.push_back(depth);
    for (int k = 0; k < std::max(0, c.spring_passes); ++k) depths.push_back(depth);

    Motion m = model;
    m.feed_mode = FeedMode::PerRevolution;
    m.feed = c.lead;
    for (double d : depths) {
        const Point in{c.crest + inward * d, c.start.z};
        const Point end{in.x, c.end_z};
        add(out, m, MotionKind::Rapid, c.start, in);
        add(out, m, MotionKind::Thread, in, end);
        add(out, m, MotionKind::Rapid, end, {c.start.x, c.end_z});
        add(out, m, MotionKind::Rapid, {c.start.x, c.end_z}, c.start);
    }
}

} // namespace simvo
