#pragma once
// Writes a generated part as a drawing and a project in the program's own
// file formats, and reads back what LinuxCNC's interpreter made of the
// posted G-code, as moves in cycle coordinates (X a radius).
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/cycle_params.h"
#include "part_generator.h"
#include "path_audit.h"

#include <string>
#include <vector>

namespace zeran::verify {

struct PlannedCycle {
    CycleKind kind;
    std::vector<Piece> profile; // pieces of the part's profile or grooves
    Pt start;
    TCycleParams params;
    int tool = 1;
    double tool_width = 0;
};

// Writes NAME.dxf and NAME.tcf in `folder`; the drawing holds every piece
// named by the cycles once (lines first, then arcs) on layer PROFILE.
void write_project(const std::string& folder, const std::string& name, const Part& part,
                   DrawingPoint datum, const std::vector<PlannedCycle>& cycles);

// The motion calls of `rs274 -g` output as moves; `tool_changes` gets the
// index of the first move after each tool change.
std::vector<Move> read_canonical(const std::string& text, std::vector<std::size_t>& tool_changes);

} // namespace zeran::verify
