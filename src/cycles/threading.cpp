// Threading (code 32): one thread block, written as a pair of records that
// carry the thread's ends and data; the passes are left to the reader of the
// block.
#include <cmath>

#include "cycles/can_cycle.h"
#include "cycles/generators.h"

namespace zeran {

namespace {

// A thread record: motion 32 with no presence flags, as the GNC writer reads the pair.
TCNC_Groups* thread_record(TCanCycle& c, const TCNC_Groups& at) {
    TCNC_Groups* r = c.NewRecord();
    r->Groups[kGroupMotion] = kMotionThread;
    r->Words[kWordX] = at.X();
    r->Words[kWordZ] = at.Z();
    return r;
}

} // namespace

bool generate_threading(TCanCycle& c) {
    if (c.ProfileMoves.empty()) return c.Fail("The thread profile is empty.");
    const TCycleParams& p = c.Params;
    const TCNC_Groups& first = *c.ProfileMoves.front();
    const TCNC_Groups& last = *c.ProfileMoves.back();
    for (double v : {first.X(), first.Z(), last.X(), last.Z(), c.Allowance.X, p.DepthThread,
                     p.DepthFirst, p.Pitch, p.MinCut})
        if (!std::isfinite(v)) return c.Fail("The thread data hold a value that is not finite.");

    if (!c.AddMove(kMotionRapid, c.StartPoint, {}, &first, p.Feed)) return false;
    if (c.Moves.size() + 2 > kMaxMovesPerCycle)
        return c.Fail("The thread block does not fit in the tool path.");

    TCNC_Groups* start = thread_record(c, first);
    start->Words[kWordThread7] = p.FinishPass;
    start->Words[kWordThread8] = p.MinCut;
    start->Words[kWordRadius] = c.Allowance.X;
    start->Words[kWordSweep] = p.TipAngle;
    start->Words[kWordThread18] = p.Chamfer;

    TCNC_Groups* end = thread_record(c, last);
    end->Words[kWordThread7] = p.DepthThread;
    end->Words[kWordThread8] = p.DepthFirst;
    end->Words[kWordFeed] = p.Pitch;

    c.Moves.push_back(start);
    c.Moves.push_back(end);
    return true;
}

} // namespace zeran
