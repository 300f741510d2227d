// Jobs of generated parts written as GNC and read back through the GNC
// interpreter: every move the cycles made comes back as the same motion
// (kind, end point, arc centre, thread data) under the tool, feed and
// spindle its cycle set, and the path a control holds to its resolution
// stays within a hair of it.
#include "cycle_runs.h"
#include "cycles/cycle_params.h"
#include "ncout/gnc_interpreter.h"
#include "ncout/gnc_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

namespace zeran::verify {
namespace {

constexpr int kJobs = 400;

struct Dice {
    std::mt19937 gen;
    explicit Dice(std::uint32_t seed) : gen(seed * 2654435761u + 7) {}
    double tidy(double lo, double hi) {
        return std::round(std::uniform_real_distribution<>(lo, hi)(gen) * 100) / 100;
    }
    int whole(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(gen); }
};

TCycleParams params(const Part& part, Dice& d) {
    const double s = part.scale;
    TCycleParams p;
    p.Units = part.units;
    p.Feed = d.tidy(0.05, 0.4) * s;
    p.Speed = d.whole(100, 2000);
    p.UseCSS = d.whole(0, 1) == 1;
    p.UseFPR = d.whole(0, 1) == 1;
    p.DepthCutX = d.tidy(0.5, 3) * s;
    p.DepthCutZ = d.tidy(0.5, 3) * s;
    p.RetractX = d.tidy(0.1, 1) * s;
    p.RetractZ = d.tidy(0.1, 1) * s;
    p.AllowanceX = d.tidy(0, 0.4) * s;
    p.AllowanceZ = d.tidy(0, 0.2) * s;
    p.Repeats = d.whole(1, 4);
    p.PeckReturnX = 0.2 * s;
    p.PeckReturnZ = d.tidy(0.2, 1) * s;
    p.DepthThread = d.tidy(0.4, 1) * s;
    p.DepthFirst = 0.2 * s;
    p.Pitch = d.tidy(0.5, 2) * s;
    p.MinCut = 0.05 * s;
    p.FinishPass = d.whole(0, 3);
    p.TipAngle = d.whole(0, 1) == 1 ? 60 : 55;
    p.Chamfer = d.whole(0, 10);
    return p;
}

DrawingPoint datum(Dice& d) {
    return {d.tidy(-100, 100), d.tidy(-40, 60)};
}

// Roughing, finishing, a groove, a thread and a centre hole where the part has them.
std::vector<CycleRun> job_of(const Part& part, Dice& d) {
    std::vector<CycleRun> runs;
    auto keep = [&](CycleRun run) {
        if (!run.generated) return;
        run.cycle->ToolNumber = d.whole(0, 4);
        if (d.whole(0, 2) == 0) run.cycle->Comment = "pass " + std::to_string(runs.size());
        runs.push_back(std::move(run));
    };
    const CycleKind rough = part.kind == PartKind::Face ? CycleKind::AlongZ : CycleKind::AlongX;
    keep(run_cycle(rough, part.profile, part.start, params(part, d), datum(d)));
    TCycleParams finish = params(part, d);
    finish.AllowanceX = finish.AllowanceZ = 0;
    keep(run_cycle(CycleKind::Finishing, part.profile, part.start, finish, datum(d)));
    if (!part.grooves.empty() && part.tool_above) {
        const Groove& g = part.grooves.front();
        const Pt top = g.pieces.front().a;
        const Pt start{top.x + 2 * part.scale, top.z + (part.tool_right ? 1 : -1) * part.scale};
        keep(run_cycle(CycleKind::Grooving, g.pieces, start, params(part, d), datum(d),
                       2 * part.scale));
    }
    if (part.thread_from.x > 0) {
        const std::vector<Piece> line{line_piece(part.thread_to, part.thread_from)};
        keep(run_cycle(CycleKind::Threading, line, part.start, params(part, d), datum(d)));
    }
    if (part.drill_depth > 0) {
        const double side = part.tool_right ? 1 : -1;
        const std::vector<Piece> hole{
            line_piece({0, part.face_z}, {0, part.face_z - side * part.drill_depth})};
        const Pt start{0, part.face_z + side * 2 * part.scale};
        keep(run_cycle(CycleKind::Drilling, hole, start, params(part, d), datum(d)));
    }
    return runs;
}

GncMotionKind kind_of(int motion) {
    switch (motion) {
    case kMotionRapid:
        return GncMotionKind::Rapid;
    case kMotionLinear:
        return GncMotionKind::Feed;
    case kMotionClockwise:
        return GncMotionKind::ArcClockwise;
    case kMotionCounterClockwise:
        return GncMotionKind::ArcCounterClockwise;
    default:
        return GncMotionKind::Thread;
    }
}

double gap(CyclePoint a, CyclePoint b) {
    return std::hypot(a.X - b.X, a.Z - b.Z);
}

std::string at(CyclePoint p) {
    std::ostringstream s;
    s.precision(12);
    s << "X" << p.X << " Z" << p.Z;
    return s.str();
}

std::string modes_text(const GncModalState& s) {
    std::ostringstream o;
    o << (s.metric ? "mm" : "inch") << " T" << s.tool << "/" << s.tool_offset << " F" << s.feed
      << (s.feed_per_rev ? "/rev" : "/min") << " S" << s.spindle << (s.css ? " css" : " rpm");
    return o.str();
}

// Feed and speed come back through fifteen significant digits.
bool same_modes(GncModalState a, const GncModalState& b) {
    for (double GncModalState::*v : {&GncModalState::feed, &GncModalState::spindle})
        if (std::fabs(a.*v - b.*v) <= 1e-12 * std::fabs(b.*v)) a.*v = b.*v;
    return a == b;
}

// The interpreter's motions against the records they were written from.
void compare(const std::vector<CycleRun>& runs, std::uint8_t units,
             const std::vector<GncMotion>& motions, Findings& found) {
    constexpr double kTol = 1e-9; // fifteen digits of a GNC number, with room
    std::size_t k = 0;
    int tool = 0;
    CyclePoint prev; // where the tool is; a thread cycle returns to its start
    bool known = false;
    for (std::size_t n = 0; n < runs.size(); ++n) {
        const TCanCycle& c = *runs[n].cycle;
        const bool changed = c.ToolNumber != tool;
        tool = c.ToolNumber;
        known = known && !changed;
        const GncModalState modes{units == 0, c.ToolNumber,    c.ToolNumber,  c.Params.UseFPR,
                                  0,          c.Params.UseCSS, c.Params.Speed};
        for (std::size_t i = 0; i < c.Moves.size(); ++i) {
            const TCNC_Groups& r = *c.Moves[i];
            if (r.Motion() == kMotionThread && i + 1 == c.Moves.size()) break;
            const std::string where =
                "cycle " + std::to_string(n) + " record " + std::to_string(i) + ": ";
            if (k == motions.size()) return found.add(where + "no motion left");
            const GncMotion& m = motions[k++];
            GncModalState want = modes;
            want.feed = r.Motion() == kMotionThread ? m.modal.feed : r.Words[kWordFeed];
            if (m.kind != kind_of(r.Motion())) found.add(where + "another kind of motion");
            if (!same_modes(m.modal, want))
                found.add(where + "runs under other modes: " + modes_text(m.modal) + " for " +
                          modes_text(want));
            if (m.from_known != known)
                found.add(where + "start known before any move or after a tool change, or lost");
            known = true;
            if (m.from_known && gap(m.from, prev) > kTol)
                found.add(where + "starts at " + at(m.from) + ", not " + at(prev));
            if (r.Motion() == kMotionThread) {
                const TCNC_Groups& e = *c.Moves[++i];
                const GncThread& t = m.thread;
                // Started below its surface, the thread is cut in a bore.
                const bool inside = prev.X < e.X();
                const double want_data[] = {e.Z(),
                                            e.X(),
                                            e.Words[kWordThread7],
                                            e.Words[kWordFeed],
                                            e.Words[kWordThread8],
                                            r.Words[kWordThread8],
                                            r.Words[kWordThread7],
                                            r.Words[kWordThread18],
                                            r.Words[kWordSweep],
                                            r.Words[kWordRadius],
                                            e.X() + (inside ? 1 : -1) * e.Words[kWordThread7]};
                const double got[] = {m.to.Z,      t.surface_x,        t.depth,         t.pitch,
                                      t.first_cut, t.min_cut,          t.finish_passes, t.chamfer,
                                      t.tip_angle, t.finish_allowance, m.to.X};
                for (std::size_t j = 0; j < std::size(got); ++j)
                    if (std::fabs(got[j] - want_data[j]) > kTol)
                        found.add(where + "thread datum " + std::to_string(j) + " is " +
                                  std::to_string(got[j]) + ", not " + std::to_string(want_data[j]));
                if (t.internal != inside) found.add(where + "inside and outside confused");
                continue;
            }
            const CyclePoint end{r.X(), r.Z()};
            prev = end;
            if (gap(m.to, end) > (r.IsArc() ? 1e-6 : kTol))
                found.add(where + "ends at " + at(m.to) + ", not " + at(end));
            if (r.IsArc() && gap(m.centre, {r.CentreX(), r.CentreZ()}) > kTol)
                found.add(where + "turns about " + at(m.centre));
        }
    }
    if (k != motions.size())
        found.add(std::to_string(motions.size() - k) + " motions more than records");
}

// The path as a control holding diameters to `step` has it: an arc's end
// carries the rounding of its start, its centre offsets and its own.
void compare_rounded(const std::vector<GncMotion>& exact, const std::vector<GncMotion>& held,
                     double step, Findings& found) {
    if (exact.size() != held.size()) return found.add("the rounded path has another length");
    for (std::size_t i = 0; i < exact.size(); ++i)
        if (gap(exact[i].to, held[i].to) > 3 * step)
            found.add("motion " + std::to_string(i) + " held at " + at(held[i].to) + ", exactly " +
                      at(exact[i].to));
}

TEST(GncMotionAudit, GeneratedJobsReadBackAsTheMovesTheCyclesMade) {
    const PartKind kinds[] = {PartKind::Shaft, PartKind::Shaft, PartKind::Bore, PartKind::Face};
    std::vector<std::string> failures;
    int arcs = 0, threads = 0, drills = 0, jobs = 0;
    for (int seed = 0; seed < kJobs; ++seed) {
        const Part part = make_part(kinds[seed % 4], 7000 + seed);
        Dice dice(seed);
        const std::vector<CycleRun> runs = job_of(part, dice);
        if (runs.empty()) continue;
        ++jobs;
        for (const CycleRun& run : runs) drills += run.cycle->Kind == CycleKind::Drilling;
        THeader header;
        header.Units = part.units;
        TGNCOutput writer;
        writer.Header = &header;
        for (const CycleRun& run : runs) writer.AppendCycle(run.cycle.get());
        const std::string gnc = writer.Text(seed % 3 == 0 ? ',' : '.');
        Findings found;
        try {
            const std::vector<GncMotion> motions = interpret_gnc(gnc);
            compare(runs, part.units, motions, found);
            compare_rounded(motions, interpret_gnc(gnc, GncResolution{3, 4}),
                            part.units == 0 ? 1e-3 : 1e-4, found);
            for (const GncMotion& m : motions) {
                arcs += m.is_arc();
                threads += m.kind == GncMotionKind::Thread;
            }
        } catch (const std::exception& e) {
            found.add(e.what());
        }
        if (!found.empty()) failures.push_back(describe(part) + "\n" + found.joined());
    }
    EXPECT_GT(jobs, kJobs * 9 / 10);
    EXPECT_GT(arcs, 1000);
    EXPECT_GT(threads, 50);
    EXPECT_GT(drills, 50);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << jobs << " jobs differ; first:\n"
                                  << (failures.empty() ? "" : failures.front());
}

} // namespace
} // namespace zeran::verify
