#include "cycles/max_min.h"

#include <cmath>

namespace zeran {

void TMaxMin::Add(const CyclePoint& p) {
    if (p.X > MaxX) {
        MaxX = p.X;
        AtMaxX = p;
    }
    if (p.Z > MaxZ) {
        MaxZ = p.Z;
        AtMaxZ = p;
    }
    if (p.X < MinX) {
        MinX = p.X;
        AtMinX = p;
    }
    if (p.Z < MinZ) {
        MinZ = p.Z;
        AtMinZ = p;
    }
}

double TMaxMin::Diagonal() const {
    if (Empty()) return 0;
    return 2 * std::sqrt((MaxX - MinX) * (MaxX - MinX) + (MaxZ - MinZ) * (MaxZ - MinZ));
}

} // namespace zeran
