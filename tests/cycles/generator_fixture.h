#pragma once
// Builds cycles straight from profile records, so that one generator can be
// run on a prepared profile without the drawing, and reads its moves back.
#include <initializer_list>
#include <vector>

#include "cycles/can_cycle.h"
#include "cycles/cnc_groups.h"

namespace zeran::testing {

struct Move {
    int motion;
    double x;
    double z;
    double feed;
};

inline TCNC_Groups* add_point(TCanCycle& c, double x, double z, int motion = kMotionLinear) {
    TCNC_Groups* r = c.NewRecord();
    r->SetGroup(kGroupMotion, motion);
    r->SetWord(kWordX, x);
    r->SetWord(kWordZ, z);
    c.AddProfileRecord(r);
    return r;
}

// Points are (X, Z) in cycle coordinates, in machining order.
inline void set_profile(TCanCycle& c, std::initializer_list<CyclePoint> points) {
    for (const CyclePoint& p : points) add_point(c, p.X, p.Z);
}

inline void set_start(TCanCycle& c, double x, double z, bool x_side, bool z_side) {
    c.StartPoint = {x, z};
    c.XSide = x_side;
    c.ZSide = z_side;
}

inline std::vector<Move> moves_of(const TCanCycle& c) {
    std::vector<Move> out;
    for (const TCNC_Groups* m : c.Moves)
        out.push_back({m->Motion(), m->X(), m->Z(), m->Words[kWordFeed]});
    return out;
}

} // namespace zeran::testing
