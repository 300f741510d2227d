#pragma once
// How long a program runs: feed moves from their feed and the spindle speed
// (constant surface speed followed along the cut), rapids at the machine's
// rates with each axis at its own, dwells and tool changes.
#include "machine_table.h"

namespace simvo {

// Seconds of one motion.
double motion_seconds(const Motion& m, const Machine& machine, bool inch);
// Seconds of the whole program.
double cycle_seconds(const Program& program, const Machine& machine);

} // namespace simvo
