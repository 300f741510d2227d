#pragma once
// Extents of a profile's end points in cycle coordinates, with the points at
// which each extreme was first reached.
#include "base/tolerances.h"

namespace zeran {

// A point in cycle coordinates: X a radius, Z along the spindle axis.
struct CyclePoint {
    double X = 0;
    double Z = 0;
    friend bool operator==(const CyclePoint&, const CyclePoint&) = default;
};

inline constexpr CyclePoint kPointNotFound{kNotSet, kNotSet};

inline bool is_not_found(const CyclePoint& p) {
    return is_not_set(p.X) || is_not_set(p.Z);
}

class TMaxMin {
public:
    double MaxX = -kNotSet;
    double MaxZ = -kNotSet;
    double MinX = kNotSet;
    double MinZ = kNotSet;
    CyclePoint AtMinX{kNotSet, kNotSet};
    CyclePoint AtMaxX{-kNotSet, -kNotSet};
    CyclePoint AtMinZ{kNotSet, kNotSet};
    CyclePoint AtMaxZ{-kNotSet, -kNotSet};

    void Reset() { *this = TMaxMin{}; }
    // Strict comparisons: the first of equal values keeps its point.
    void Add(const CyclePoint& p);
    bool Empty() const { return MaxX < MinX; }
    // Twice the span of the extents: a length that reaches across the profile.
    double Diagonal() const;
};

} // namespace zeran
