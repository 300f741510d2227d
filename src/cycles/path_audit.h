#pragma once
// The program's own check of a generated tool path: no feed or rapid may
// enter the finished part, and no rapid may run through stock that the
// cycles before it (and its own cuts so far) have not removed.
#include "base/tolerances.h"
#include "cycles/part_outline.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeran {

class TCanCycle;

// UncutMaterial: a place the insert's nose cannot reach, found when its
// radius is compensated in the program; `depth` holds the radius of the arc
// there (0 for a step or gap narrower than the nose).
enum class PathFault { EntersPart, ThroughStock, UncutMaterial };

struct PathFinding {
    PathFault fault = PathFault::EntersPart;
    std::size_t move = 0; // index into the cycle's moves, from 0 (none for uncut material)
    bool rapid = false;
    double depth = 0; // how deep inside the part (0 for stock)
    CyclePoint at;
};

struct PathAudit {
    std::vector<PathFinding> findings; // at most one per move
    bool clean() const { return findings.empty(); }
    // One line: how many moves enter the part or cross stock, and the worst;
    // how many places keep material the nose cannot reach, and the first.
    std::string summary(Units units) const;
};

// Where material still stands around the part: a grid over a box from the
// axis up, less the part, and the fronts to which cuts have cleared it. A
// feed clears its column of cells towards the tool's X side and its row
// towards the tool's Z side. Coarse on purpose: a rapid counts as in the
// stock only when a whole neighbourhood of cells is.
class StockMap {
public:
    // The stock is the box Z in [z_lo, z_hi], X in [0, x_hi] outside `part`.
    StockMap(const PartOutline& part, double z_lo, double z_hi, double x_hi);
    // The cycle about to be checked starts at `start`: for it, nothing stands
    // beyond that point on the tool's sides. The map itself keeps its stock.
    void start_cycle(CyclePoint start, bool x_high, bool z_high);
    // A feed at q, with an insert `width` wide towards plus Z.
    void cut(CyclePoint q, bool x_high, bool z_high, double width);
    bool in_stock(CyclePoint p) const;
    double cell() const { return cell_; }

private:
    bool stock_at(int iz, int ix) const;
    int column(double z) const;
    int row(double x) const;

    double z_lo_ = 0, x_hi_ = 0, cell_ = 1;
    int nz_ = 0, nx_ = 0;
    std::vector<std::uint8_t> outside_part_; // column-major: nx_ cells per column
    // Per column: cleared above `above_` and below `below_`; per row: cleared
    // right of `right_` and left of `left_`.
    std::vector<double> above_, below_, right_, left_;
    CyclePoint start_{1e300, 1e300};
    bool x_high_ = true, z_high_ = true;
};

// Audits `cycle` (generated) against `part` and, when given, `stock`, which
// its feeds then cut. `tolerance`: how deep a move may touch the part. A path
// compensated for the nose radius is checked with the insert's round about
// each point, and the places the round cannot reach are findings too.
PathAudit audit_cycle(const TCanCycle& cycle, const PartOutline& part, StockMap* stock,
                      double tolerance);

} // namespace zeran
