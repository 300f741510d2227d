#pragma once
// Runs one cycle over a generated part as the main window would: drawing
// entities around a datum, a definition, Generate (with the profile turned
// round once when the cycle refuses its direction), and the path read back
// as plain moves.
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/point_entities.h"
#include "part_generator.h"
#include "path_audit.h"

#include <memory>
#include <vector>

namespace zeran::verify {

struct CycleRun {
    std::vector<std::unique_ptr<DXF_Entity>> entities;
    std::unique_ptr<TCanCycle> cycle = std::make_unique<TCanCycle>();
    bool generated = false;
    int refusals = 0;
    std::vector<Move> moves;
    Pt start; // the start point the cycle worked from
};

std::unique_ptr<DXF_Entity> entity_of(const Piece& p, DrawingPoint datum);

// A generated cycle's moves as plain moves, from its start point; a thread
// block and the record after it make one thread move.
std::vector<Move> moves_of(const TCanCycle& cycle);

// `nose_radius`: the insert's, for a cycle that compensates it.
CycleRun run_cycle(CycleKind kind, const std::vector<Piece>& profile, Pt start,
                   const TCycleParams& params, DrawingPoint datum, double tool_width = 0,
                   bool reversed = false, double nose_radius = 0);

} // namespace zeran::verify
