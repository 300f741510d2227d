#pragma once
// The finished part as the kept drawing elements above the spindle axis
// outline it, in cycle coordinates (X a radius, Z along the axis). Seen by a
// tool working from above (the maximum-X side), a point lies inside the part
// when a ray from it straight up crosses the outline an odd number of times:
// the region between a profile and the axis, between an outer and a bore
// line, and nothing beyond the ends of the outline along Z. Seen by a tool
// working from below (in a bore), the ray runs down to the axis instead, so a
// bore drawn without its outside still has its wall above it. The outline
// need not be closed.
#include "cycles/max_min.h"

#include <vector>

namespace zeran {

class DXF_Entity;
class selection_lists;
struct DrawingPoint;

// A line, or an arc about `centre` turning counter-clockwise (Z to the
// right, X up) from `a` to `b` when `ccw`.
struct OutlinePiece {
    CyclePoint a;
    CyclePoint b;
    bool arc = false;
    CyclePoint centre{};
    bool ccw = true;
};

OutlinePiece outline_line(CyclePoint a, CyclePoint b);
OutlinePiece outline_arc(CyclePoint a, CyclePoint b, CyclePoint centre, bool ccw);

double distance_to(CyclePoint p, const OutlinePiece& piece);
// The point at fraction t in [0, 1] of the piece's length.
CyclePoint point_along(const OutlinePiece& piece, double t);
double length_of(const OutlinePiece& piece);

class PartOutline {
public:
    PartOutline() = default;
    // A piece given twice (either way round) is taken once.
    explicit PartOutline(std::vector<OutlinePiece> pieces);

    bool empty() const { return pieces_.empty(); }
    const std::vector<OutlinePiece>& pieces() const { return pieces_; }
    // `from_above`: the tool works from the maximum-X side.
    bool inside(CyclePoint p, bool from_above = true) const;
    // How deep p lies inside the part: its distance to the outline or (seen
    // from above) to the axis, whichever is nearer; 0 outside.
    double depth(CyclePoint p, bool from_above = true) const;
    double distance(CyclePoint p) const;
    // The heights (X) at which the outline crosses the line Z = z, ascending.
    std::vector<double> crossings(double z) const;
    const TMaxMin& extents() const { return extents_; }

private:
    std::vector<OutlinePiece> pieces_;
    // Arcs split where Z turns, so that each piece meets a line Z = z once.
    std::vector<OutlinePiece> monotone_;
    TMaxMin extents_;
};

// The outline made of the lines, arcs and polylines in `lists`, which are
// drawing elements, seen from `datum`; the elements in `left_out` (a drill's
// own line, say) are no part of it.
PartOutline outline_of(const selection_lists& lists, const DrawingPoint& datum,
                       const std::vector<const DXF_Entity*>& left_out = {});

} // namespace zeran
