#include "cycle_runs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zeran::verify {

std::unique_ptr<DXF_Entity> entity_of(const Piece& p, DrawingPoint datum) {
    const auto drawing = [&](Pt q) { return Point3D{q.z + datum.x, q.x + datum.y, 0}; };
    if (!p.arc) return std::make_unique<Line_>(drawing(p.a), 7, drawing(p.b));
    // Drawing arcs run counter-clockwise from their start angle.
    const double deg = 180 / std::numbers::pi;
    const double a = angle_about(p.a, p.centre) * deg;
    const double b = angle_about(p.b, p.centre) * deg;
    return std::make_unique<Arc_>(Point3D{0, 0, 1}, 7, p.ccw ? a : b, p.ccw ? b : a, radius_of(p),
                                  drawing(p.centre));
}

std::vector<Move> moves_of(const TCanCycle& c) {
    std::vector<Move> moves;
    const CyclePoint s = c.GetStartPoint();
    Pt prev{s.X, s.Z};
    for (std::size_t i = 0; i < c.Moves.size(); ++i) {
        const TCNC_Groups& m = *c.Moves[i];
        const Pt to{m.X(), m.Z()};
        Move mv;
        if (m.Motion() == kMotionThread) {
            mv.kind = MoveKind::Thread;
            mv.path = line_piece({m.X(), m.Z()}, {c.Moves[i + 1]->X(), c.Moves[i + 1]->Z()});
            moves.push_back(mv);
            ++i;
            prev = mv.path.b;
            continue;
        }
        mv.kind = m.Motion() == kMotionRapid ? MoveKind::Rapid : MoveKind::Feed;
        if (m.IsArc())
            mv.path = arc_piece(prev, to, {m.CentreX(), m.CentreZ()},
                                m.Motion() == kMotionCounterClockwise);
        else
            mv.path = line_piece(prev, to);
        moves.push_back(mv);
        prev = to;
    }
    return moves;
}

CycleRun run_cycle(CycleKind kind, const std::vector<Piece>& profile, Pt start,
                   const TCycleParams& params, DrawingPoint datum, double tool_width, bool reversed,
                   double nose_radius) {
    CycleRun run;
    for (const Piece& p : profile) run.entities.push_back(entity_of(p, datum));
    std::vector<DXF_Entity*> elements;
    for (auto& e : run.entities) elements.push_back(e.get());
    if (reversed) std::reverse(elements.begin(), elements.end());
    TCanCycle& c = *run.cycle;
    c.Kind = kind;
    c.Datum = datum;
    c.ToolWidth = tool_width;
    c.NoseRadius = nose_radius;
    c.OnProfileDirection = [&run](TCanCycle&) { ++run.refusals; };
    for (int attempt = 0; attempt < 2 && !run.generated; ++attempt) {
        if (attempt == 1) {
            if (run.refusals == 0) break;
            std::reverse(elements.begin(), elements.end());
        }
        c.SetElements(elements);
        c.SetDefinition({true, params, start.x, start.z});
        c.SetNeedsGenerate(true);
        run.generated = c.Generate();
    }
    if (!run.generated) return run;
    const CyclePoint s = c.GetStartPoint();
    run.start = {s.X, s.Z};
    run.moves = moves_of(c);
    return run;
}

} // namespace zeran::verify
