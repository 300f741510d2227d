#pragma once
// The passes a multi-pass threading cycle (G76) makes, whatever dialect
// spelled it: infeed at the start Z, one threading move to the end Z,
// retract and return.
#include "program.h"

#include <vector>

namespace simvo {

struct ThreadCycle {
    Point start;      // where the tool stands when the cycle begins
    double crest = 0; // radius where the thread begins to cut
    double root = 0;  // radius of the final pass
    double end_z = 0;
    double lead = 0;
    double first_depth = 0; // radial depth of the first pass
    double min_depth = 0;   // smallest radial step between passes
    double finish_allowance = 0;
    int spring_passes = 0; // extra passes at the full depth
};

// Appends the cycle's moves to `out` (rapids for infeed and return, Thread
// motions for the cuts), each with `model`'s state and line. ProgramError
// for a cycle that cannot be cut: no depth, no first cut, no lead, or a
// thread that would need more than a thousand passes.
void append_thread_passes(const ThreadCycle& cycle, const Motion& model, std::vector<Motion>& out);

} // namespace simvo
