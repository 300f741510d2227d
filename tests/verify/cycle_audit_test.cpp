// Every cycle kind over hundreds of generated parts, audited with geometry of
// its own: no cut inside the part, no rapid through stock still standing,
// the finishing contour on the profile, arcs on their circles, and the path
// framed by the start point.
#include "cycle_runs.h"
#include "cycles/cycle_params.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

namespace zeran::verify {
namespace {

constexpr int kShafts = 300;
constexpr int kBores = 200;
constexpr int kFaces = 200;

struct Knobs {
    std::mt19937 gen;
    explicit Knobs(std::uint32_t seed) : gen(seed ^ 0x5bd1e995u) {}
    double real(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(gen); }
    double tidy(double lo, double hi) { return std::round(real(lo, hi) * 100) / 100; }
    int whole(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(gen); }
};

TCycleParams params_for(CycleKind kind, const Part& part, Knobs& k) {
    const double s = part.scale;
    TCycleParams p;
    p.Units = part.units;
    p.Feed = 0.2 * s;
    p.Speed = 1000;
    p.DepthCutX = k.tidy(0.3, 3) * s;
    p.DepthCutZ = k.tidy(0.3, 3) * s;
    p.RetractX = k.tidy(0.1, 2) * s;
    p.RetractZ = k.tidy(0.1, 2) * s;
    p.AllowanceX = k.tidy(0, 0.5) * s;
    p.AllowanceZ = k.tidy(0, 0.3) * s;
    p.Repeats = k.whole(1, 5);
    p.PeckReturnX = k.tidy(0.1, 0.5) * s;
    p.PeckReturnZ = k.tidy(0.2, 1) * s;
    p.DepthThread = 0.6 * s;
    p.DepthFirst = 0.2 * s;
    p.Pitch = 1 * s;
    p.MinCut = 0.05 * s;
    p.FinishPass = 1;
    p.TipAngle = 60;
    p.Chamfer = 1;
    if (kind == CycleKind::PatternRepeat) {
        p.DepthCutX = k.tidy(1, 6) * s;
        p.DepthCutZ = k.tidy(0, 3) * s;
    }
    if (kind == CycleKind::Finishing || kind == CycleKind::Linear) p.AllowanceX = p.AllowanceZ = 0;
    return p;
}

DrawingPoint datum_for(Knobs& k) {
    return {k.tidy(-200, 200), k.tidy(-50, 100)};
}

struct Audit {
    const Part& part;
    const CycleRun& run;
    double tol;
    double step;
    Findings found;

    Audit(const Part& p, const CycleRun& r)
        : part(p), run(r), tol(0.001 * p.scale), step(0.005 * p.scale) {}

    void common(double width = 0) {
        check_gouges(run.moves, part.region(), tol, step, found, width);
        check_arcs(run.moves, tol, found);
        const TCanCycle& c = *run.cycle;
        Pt prev = run.start;
        for (std::size_t i = 0; i < c.Moves.size(); ++i) {
            const TCNC_Groups& m = *c.Moves[i];
            const Pt to{m.X(), m.Z()};
            if (!std::isfinite(to.x) || !std::isfinite(to.z) || std::fabs(to.x) > 1e5 ||
                std::fabs(to.z) > 1e5)
                found.add("move " + std::to_string(i) + " goes to " + text(to));
            if (m.IsArc()) {
                const Pt centre{m.CentreX(), m.CentreZ()};
                for (Pt q : {prev, to})
                    if (std::fabs(dist(q, centre) - m.Radius()) > tol)
                        found.add("arc move " + std::to_string(i) + " of radius " +
                                  std::to_string(m.Radius()) + " has an end " +
                                  std::to_string(dist(q, centre)) + " from its centre");
            }
            if (m.Motion() != kMotionThread) prev = to;
        }
    }
    void starts_and_ends_at_start(bool first_too = true) {
        const auto at_start = [&](Pt p) { return dist(p, run.start) <= 1e-9; };
        if (first_too && !at_start(run.moves.front().path.b))
            found.add("the path does not begin with a move to the start point");
        if (!at_start(run.moves.back().path.b))
            found.add("the path ends at " + text(run.moves.back().path.b) +
                      ", not at the start point " + text(run.start));
    }
    std::vector<Piece> profile_shifted() const {
        const CyclePoint a = run.cycle->Allowance;
        std::vector<Piece> out;
        for (const Piece& p : part.profile) out.push_back(shifted(p, {a.X, a.Z}));
        return out;
    }
    std::string report(CycleKind kind, const TCycleParams& p) const {
        std::ostringstream s;
        s << "kind " << static_cast<int>(kind) << " on " << describe(part) << "  depth X "
          << p.DepthCutX << " Z " << p.DepthCutZ << " retract X " << p.RetractX << " Z "
          << p.RetractZ << " allowance " << p.AllowanceX << ", " << p.AllowanceZ << " repeats "
          << p.Repeats << "\n"
          << found.joined();
        return s.str();
    }
};

double profile_range(const std::vector<Piece>& prof, bool z, bool high) {
    double v = high ? -1e300 : 1e300;
    for (const Piece& p : prof) {
        for (double t = 0; t <= 1.0001; t += 0.125) {
            const Pt q = point_at(p, std::min(t, 1.0));
            v = high ? std::max(v, z ? q.z : q.x) : std::min(v, z ? q.z : q.x);
        }
    }
    return v;
}

// Roughing along X or Z, pattern repeat, finishing and the linear cycle on
// one part; `failures` collects the reports.
void audit_turning(const Part& part, std::uint32_t seed, std::vector<std::string>& failures) {
    Knobs k(seed);
    std::vector<CycleKind> kinds{CycleKind::AlongX, CycleKind::AlongZ, CycleKind::PatternRepeat,
                                 CycleKind::Finishing};
    if (!part.arcs) kinds.push_back(CycleKind::Linear);
    for (CycleKind kind : kinds) {
        const TCycleParams p = params_for(kind, part, k);
        const DrawingPoint datum = datum_for(k);
        const bool reversed = k.whole(0, 4) == 0;
        const CycleRun run = run_cycle(kind, part.profile, part.start, p, datum, 0, reversed);
        Audit a(part, run);
        if (!run.generated) {
            a.found.add("the cycle did not generate: " + run.cycle->LastError());
            failures.push_back(a.report(kind, p));
            continue;
        }
        a.common();
        const double cell = 0.02 * part.scale;
        switch (kind) {
        case CycleKind::AlongX: {
            StockField stock(part.region(), true, part.tool_above, part.tool_right,
                             profile_range(part.profile, true, false),
                             profile_range(part.profile, true, true), run.start, cell);
            check_rapids_in_stock(run.moves, stock, a.tol * 10, a.step, a.found);
            a.starts_and_ends_at_start(false);
            break;
        }
        case CycleKind::AlongZ: {
            StockField stock(part.region(), false, part.tool_above, part.tool_right,
                             profile_range(part.profile, false, false),
                             profile_range(part.profile, false, true), run.start, cell);
            check_rapids_in_stock(run.moves, stock, a.tol * 10, a.step, a.found);
            a.starts_and_ends_at_start(false);
            break;
        }
        case CycleKind::PatternRepeat: {
            // The blank is the part pushed out by the total offset; a rapid
            // must not cross it where the passes so far have not reached.
            const double vx = run.cycle->XSide ? 1 : -1, vz = run.cycle->ZSide ? 1 : -1;
            Pt left{p.DepthCutX * vx, p.DepthCutZ * vz};
            int pass = p.Repeats;
            bool in_pass = false;
            const Region reg = part.region();
            for (std::size_t i = 0; i < run.moves.size(); ++i) {
                const Move& m = run.moves[i];
                if (m.kind == MoveKind::Feed) {
                    if (!in_pass) {
                        --pass;
                        left = {p.DepthCutX * vx * pass / p.Repeats,
                                p.DepthCutZ * vz * pass / p.Repeats};
                    }
                    in_pass = true;
                    continue;
                }
                in_pass = false;
                for (int t = 0; t <= 10; ++t) {
                    const Piece back = shifted(m.path, {-left.x * t / 10, -left.z * t / 10});
                    const Penetration pen = deepest_inside(back, reg, a.step);
                    if (pen.depth > a.tol * 10) {
                        a.found.add("rapid " + std::to_string(i) + " crosses stock left by the " +
                                    "passes so far, " + std::to_string(pen.depth) + " deep");
                        break;
                    }
                }
            }
            a.starts_and_ends_at_start();
            break;
        }
        case CycleKind::Finishing:
            a.starts_and_ends_at_start();
            break;
        default:
            break;
        }
        // The last contour lies on the profile shifted by the allowance.
        if (!part.undercut && kind != CycleKind::Linear)
            check_covered(run.moves, a.profile_shifted(), a.tol * 5, 0.05 * part.scale, a.found);
        if (!a.found.empty()) failures.push_back(a.report(kind, p));
    }
}

void audit_grooves(const Part& part, std::uint32_t seed, std::vector<std::string>& failures) {
    Knobs k(seed + 17);
    for (const Groove& g : part.grooves) {
        TCycleParams p = params_for(CycleKind::Grooving, part, k);
        const double width = k.tidy(1.5, 4) * part.scale;
        p.DepthCutZ = k.tidy(0.5, 1.2) * width;
        p.DepthCutX = k.tidy(0.5, 3) * part.scale;
        p.AllowanceX = k.tidy(0, 0.2) * part.scale;
        p.AllowanceZ = 0;
        const Pt top = g.pieces.front().a;
        const Pt start{top.x + (part.tool_above ? 1 : -1) * k.tidy(0.5, 3) * part.scale,
                       top.z + (part.tool_right ? 1 : -1) * k.tidy(0, 3) * part.scale};
        const CycleRun run =
            run_cycle(CycleKind::Grooving, g.pieces, start, p, datum_for(k), width);
        Audit a(part, run);
        if (!run.generated) {
            a.found.add("the grooving cycle did not generate: " + run.cycle->LastError());
        } else {
            a.common(width);
            a.starts_and_ends_at_start();
            StockField stock(part.region(), true, part.tool_above, part.tool_right,
                             profile_range(g.pieces, true, false),
                             profile_range(g.pieces, true, true), run.start, 0.02 * part.scale);
            check_rapids_in_stock(run.moves, stock, a.tol * 10, a.step, a.found, width);
            // A square groove at least one insert wide is cut to its bottom.
            const Piece& bottom = g.pieces[1];
            const double gw = std::fabs(bottom.b.z - bottom.a.z);
            if (g.square && gw >= width - 1e-9) {
                const double bx = bottom.a.x + run.cycle->Allowance.X;
                for (double t = 0; t <= 1; t += 0.05) {
                    const double z = bottom.a.z + (bottom.b.z - bottom.a.z) * t;
                    bool reached = false;
                    for (const Move& m : run.moves)
                        if (m.kind == MoveKind::Feed && std::fabs(m.path.b.x - bx) <= a.tol &&
                            z >= m.path.b.z - a.tol && z <= m.path.b.z + width + a.tol)
                            reached = true;
                    if (!reached) {
                        a.found.add("the groove bottom at Z " + std::to_string(z) +
                                    " is not reached (tool " + std::to_string(width) + ")");
                        break;
                    }
                }
            }
        }
        if (!a.found.empty()) {
            std::ostringstream s;
            s << a.report(CycleKind::Grooving, p) << "  tool width " << width << ", start "
              << text(start) << "\n";
            for (const Piece& q : g.pieces)
                s << "  groove " << text(q.a) << " -> " << text(q.b) << "\n";
            failures.push_back(s.str());
        }
    }
}

// A thread on a plain diameter and a centre hole drilled from the face.
void audit_thread_and_drill(const Part& part, std::uint32_t seed,
                            std::vector<std::string>& failures) {
    Knobs k(seed + 29);
    const double sz = part.tool_right ? 1 : -1;
    if (part.thread_from.x > 0) {
        TCycleParams p = params_for(CycleKind::Threading, part, k);
        p.AllowanceX = 0.05 * part.scale;
        const std::vector<Piece> line{line_piece(part.thread_to, part.thread_from)};
        const CycleRun run = run_cycle(CycleKind::Threading, line, part.start, p, datum_for(k));
        Audit a(part, run);
        if (!run.generated) {
            a.found.add("the thread did not generate: " + run.cycle->LastError());
        } else {
            a.common();
            // One rapid to the start, then the thread from the end nearer it.
            if (run.moves.size() != 2 || run.moves[1].kind != MoveKind::Thread)
                a.found.add("the thread is not one rapid and one thread block");
            else if (dist(run.moves[1].path.a, part.thread_from) > 1e-9 ||
                     dist(run.moves[1].path.b, part.thread_to) > 1e-9)
                a.found.add("the thread runs " + text(run.moves[1].path.a) + " -> " +
                            text(run.moves[1].path.b));
        }
        if (!a.found.empty()) failures.push_back(a.report(CycleKind::Threading, p));
    }
    if (part.drill_depth > 0) {
        TCycleParams p = params_for(CycleKind::Drilling, part, k);
        p.DepthCutZ = k.tidy(1, 6) * part.scale;
        const double bottom = part.face_z - sz * part.drill_depth;
        const std::vector<Piece> hole{line_piece({0, part.face_z}, {0, bottom})};
        const Pt start{0, part.face_z + sz * k.tidy(1, 5) * part.scale};
        const CycleRun run =
            run_cycle(CycleKind::Drilling, hole, start, p, datum_for(k), 8 * part.scale);
        Audit a(part, run);
        if (!run.generated) {
            a.found.add("the drill did not generate: " + run.cycle->LastError());
        } else {
            a.starts_and_ends_at_start();
            const double lo = std::min(bottom, run.start.z), hi = std::max(bottom, run.start.z);
            bool reached = false;
            for (const Move& m : run.moves) {
                if (m.kind != MoveKind::Feed) continue;
                if (std::fabs(m.path.b.x) > 1e-12 || m.path.b.z < lo - a.tol ||
                    m.path.b.z > hi + a.tol)
                    a.found.add("a drill feed ends at " + text(m.path.b));
                reached = reached || std::fabs(m.path.b.z - bottom) <= a.tol;
            }
            if (!reached) a.found.add("the drill never reaches its bottom");
        }
        if (!a.found.empty()) failures.push_back(a.report(CycleKind::Drilling, p));
    }
}

void expect_no_failures(const std::vector<std::string>& failures, int parts) {
    EXPECT_TRUE(failures.empty()) << failures.size() << " failing cycles over " << parts
                                  << " parts; the first:\n"
                                  << (failures.empty() ? "" : failures.front())
                                  << (failures.size() > 1 ? failures[1] : "")
                                  << (failures.size() > 2 ? failures[2] : "");
}

TEST(CycleAudit, ShaftsTurnedRoughedAndFinishedStayOutOfThePart) {
    std::vector<std::string> failures;
    for (int seed = 0; seed < kShafts; ++seed)
        audit_turning(make_part(PartKind::Shaft, seed), seed, failures);
    expect_no_failures(failures, kShafts);
}

TEST(CycleAudit, BoresStayOutOfTheWall) {
    std::vector<std::string> failures;
    for (int seed = 0; seed < kBores; ++seed)
        audit_turning(make_part(PartKind::Bore, seed), seed, failures);
    expect_no_failures(failures, kBores);
}

TEST(CycleAudit, FacesStayOutOfThePart) {
    std::vector<std::string> failures;
    for (int seed = 0; seed < kFaces; ++seed)
        audit_turning(make_part(PartKind::Face, seed), seed, failures);
    expect_no_failures(failures, kFaces);
}

TEST(CycleAudit, ThreadsAndCentreHoles) {
    std::vector<std::string> failures;
    int threads = 0, holes = 0;
    for (int seed = 0; seed < kShafts; ++seed) {
        const Part part = make_part(PartKind::Shaft, seed);
        threads += part.thread_from.x > 0;
        holes += part.drill_depth > 0;
        audit_thread_and_drill(part, seed, failures);
    }
    EXPECT_GT(threads, 50);
    EXPECT_GT(holes, 50);
    expect_no_failures(failures, kShafts);
}

TEST(CycleAudit, GroovesAreCutWithoutTouchingTheWalls) {
    std::vector<std::string> failures;
    int grooves = 0;
    for (int seed = 0; seed < kShafts + kBores; ++seed) {
        const Part part = seed < kShafts ? make_part(PartKind::Shaft, seed)
                                         : make_part(PartKind::Bore, seed - kShafts);
        grooves += static_cast<int>(part.grooves.size());
        audit_grooves(part, seed, failures);
    }
    EXPECT_GT(grooves, 50);
    expect_no_failures(failures, grooves);
}

} // namespace
} // namespace zeran::verify
