#include "cycles/path_audit.h"

#include "base/number_text.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"

#include <algorithm>
#include <cmath>

namespace zeran {

namespace {

// Cells along the longer side of the stock box.
constexpr int kStockCells = 1200;

struct Penetration {
    double depth = 0;
    CyclePoint at{};
};

bool boxes_apart(const OutlinePiece& move, const TMaxMin& part, double margin) {
    double lo_x = std::min(move.a.X, move.b.X), hi_x = std::max(move.a.X, move.b.X);
    double lo_z = std::min(move.a.Z, move.b.Z), hi_z = std::max(move.a.Z, move.b.Z);
    if (move.arc) {
        const double r = std::hypot(move.a.X - move.centre.X, move.a.Z - move.centre.Z);
        lo_x = std::min(lo_x, move.centre.X - r);
        hi_x = std::max(hi_x, move.centre.X + r);
        lo_z = std::min(lo_z, move.centre.Z - r);
        hi_z = std::max(hi_z, move.centre.Z + r);
    }
    // The part reaches down to the axis wherever it has an outline.
    return hi_x < -margin || lo_x > part.MaxX + margin || hi_z < part.MinZ - margin ||
           lo_z > part.MaxZ + margin;
}

// Samples along one move at most: enough for any move on a lathe's travel.
constexpr double kMaxSamples = 100000;

// The deepest point of `move` inside the part as a tool from above (or
// below) sees it. Steps by what the distance to the outline allows, never
// less than `min_step`.
Penetration deepest_inside(const OutlinePiece& move, const PartOutline& part, bool from_above,
                           double min_step) {
    Penetration worst;
    if (from_above && boxes_apart(move, part.extents(), min_step)) return worst;
    const double len = length_of(move);
    // Near the axis the clearance gives no step; a long move there (a drill
    // from a far start point) is still sampled in bounded time.
    min_step = std::max(min_step, len / kMaxSamples);
    double s = 0;
    while (true) {
        const CyclePoint p = point_along(move, len > 0 ? std::min(s / len, 1.0) : 0.0);
        const double to_outline = part.distance(p);
        const double clearance = from_above ? std::min(to_outline, std::fabs(p.X)) : to_outline;
        if (part.inside(p, from_above) && clearance > worst.depth) worst = {clearance, p};
        if (s >= len) break;
        s = std::min(len, s + std::max(std::min(to_outline, std::fabs(p.X)), min_step));
    }
    return worst;
}

// The deepest the insert's round, `radius` about each point of `centres`,
// reaches into the part. Steps by what the clearance to the outline allows.
Penetration deepest_round(const OutlinePiece& centres, const PartOutline& part, bool from_above,
                          double radius, double min_step) {
    Penetration worst;
    if (from_above && boxes_apart(centres, part.extents(), min_step + radius)) return worst;
    const double len = length_of(centres);
    double s = 0;
    while (true) {
        const CyclePoint p = point_along(centres, len > 0 ? std::min(s / len, 1.0) : 0.0);
        const double to_outline = part.distance(p);
        const double depth = part.inside(p, from_above) ? radius + to_outline : radius - to_outline;
        if (depth > worst.depth) worst = {depth, p};
        if (s >= len) break;
        s = std::min(len, s + std::max(std::fabs(to_outline - radius), min_step));
    }
    return worst;
}

OutlinePiece move_piece(const TCNC_Groups& m, CyclePoint from) {
    const CyclePoint to{m.X(), m.Z()};
    if (m.IsArc())
        return outline_arc(from, to, {m.CentreX(), m.CentreZ()},
                           m.Motion() == kMotionCounterClockwise);
    return outline_line(from, to);
}

OutlinePiece shifted(OutlinePiece p, double dz, double dx = 0) {
    p.a.Z += dz;
    p.b.Z += dz;
    p.centre.Z += dz;
    p.a.X += dx;
    p.b.X += dx;
    p.centre.X += dx;
    return p;
}

std::string point_words(CyclePoint p) {
    return "X " + fixed_text(p.X, 15, 3) + " Z " + fixed_text(p.Z, 15, 3);
}

} // namespace

std::string PathAudit::summary(Units units) const {
    const PathFinding* deepest = nullptr;
    const PathFinding* stock = nullptr;
    const PathFinding* uncut = nullptr;
    int entering = 0, crossing = 0, uncut_places = 0;
    for (const PathFinding& f : findings) {
        if (f.fault == PathFault::UncutMaterial) {
            ++uncut_places;
            if (!uncut) uncut = &f;
        } else if (f.fault == PathFault::EntersPart) {
            ++entering;
            if (!deepest || f.depth > deepest->depth) deepest = &f;
        } else {
            ++crossing;
            if (!stock) stock = &f;
        }
    }
    const int decimals = units == Units::Inch ? 4 : 3;
    std::string out;
    if (deepest) {
        out += std::to_string(entering) + (entering == 1 ? " move enters" : " moves enter") +
               " the part, the deepest (" + (deepest->rapid ? "rapid" : "feed") + " move " +
               std::to_string(deepest->move + 1) + ") by " +
               fixed_text(deepest->depth, 15, decimals) + " at " + point_words(deepest->at);
    }
    if (stock) {
        if (!out.empty()) out += "; ";
        out += std::to_string(crossing) + (crossing == 1 ? " rapid runs" : " rapids run") +
               " through stock not yet removed, the first (move " +
               std::to_string(stock->move + 1) + ") at " + point_words(stock->at);
    }
    if (uncut) {
        if (!out.empty()) out += "; ";
        out +=
            std::to_string(uncut_places) + (uncut_places == 1 ? " place keeps" : " places keep") +
            " material the nose radius cannot reach, the first at " + point_words(uncut->at) +
            (uncut->depth > 0 ? " (an arc of radius " + fixed_text(uncut->depth, 15, decimals) + ")"
                              : "");
    }
    return out;
}

StockMap::StockMap(const PartOutline& part, double z_lo, double z_hi, double x_hi)
    : z_lo_(z_lo), x_hi_(std::max(x_hi, 0.0)) {
    const double span = std::max(z_hi - z_lo, x_hi_);
    cell_ = span > 0 ? span / kStockCells : 1;
    nz_ = std::max(1, static_cast<int>(std::ceil((z_hi - z_lo) / cell_)));
    nx_ = std::max(1, static_cast<int>(std::ceil(x_hi_ / cell_)));
    outside_part_.assign(static_cast<std::size_t>(nz_) * static_cast<std::size_t>(nx_), 1);
    for (int iz = 0; iz < nz_; ++iz) {
        const std::vector<double> xs = part.crossings(z_lo_ + (iz + 0.5) * cell_);
        std::size_t passed = 0;
        for (int ix = 0; ix < nx_; ++ix) {
            const double x = (ix + 0.5) * cell_;
            while (passed < xs.size() && xs[passed] <= x) ++passed;
            // Inside the part: an odd number of crossings above the cell.
            if ((xs.size() - passed) % 2 == 1)
                outside_part_[static_cast<std::size_t>(iz) * nx_ + ix] = 0;
        }
    }
    above_.assign(static_cast<std::size_t>(nz_), 1e300);
    below_.assign(static_cast<std::size_t>(nz_), -1e300);
    right_.assign(static_cast<std::size_t>(nx_), 1e300);
    left_.assign(static_cast<std::size_t>(nx_), -1e300);
}

int StockMap::column(double z) const {
    return static_cast<int>(std::clamp(std::floor((z - z_lo_) / cell_), -2.0, nz_ + 1.0));
}

int StockMap::row(double x) const {
    return static_cast<int>(std::clamp(std::floor(x / cell_), -2.0, nx_ + 1.0));
}

bool StockMap::stock_at(int iz, int ix) const {
    if (iz < 0 || iz >= nz_ || ix < 0 || ix >= nx_) return false;
    if (!outside_part_[static_cast<std::size_t>(iz) * nx_ + ix]) return false;
    const double x = (ix + 0.5) * cell_, z = z_lo_ + (iz + 0.5) * cell_;
    const auto c = static_cast<std::size_t>(iz), r = static_cast<std::size_t>(ix);
    const bool beyond_start =
        (x_high_ ? x > start_.X : x < start_.X) || (z_high_ ? z > start_.Z : z < start_.Z);
    return !beyond_start && x < above_[c] && x > below_[c] && z < right_[r] && z > left_[r];
}

void StockMap::start_cycle(CyclePoint start, bool x_high, bool z_high) {
    start_ = start;
    x_high_ = x_high;
    z_high_ = z_high;
}

void StockMap::cut(CyclePoint q, bool x_high, bool z_high, double width) {
    const int z0 = std::max(column(q.Z), 0), z1 = std::min(column(q.Z + width), nz_ - 1);
    for (int iz = z0; iz <= z1; ++iz) {
        double& f =
            x_high ? above_[static_cast<std::size_t>(iz)] : below_[static_cast<std::size_t>(iz)];
        f = x_high ? std::min(f, q.X) : std::max(f, q.X);
    }
    const int ix = row(q.X);
    if (ix < 0 || ix >= nx_) return;
    double& f = z_high ? right_[static_cast<std::size_t>(ix)] : left_[static_cast<std::size_t>(ix)];
    f = z_high ? std::min(f, q.Z) : std::max(f, q.Z + width);
}

bool StockMap::in_stock(CyclePoint p) const {
    const int iz = column(p.Z), ix = row(p.X);
    for (int dz = -1; dz <= 1; ++dz)
        for (int dx = -1; dx <= 1; ++dx)
            if (!stock_at(iz + dz, ix + dx)) return false;
    return true;
}

PathAudit audit_cycle(const TCanCycle& cycle, const PartOutline& part, StockMap* stock,
                      double tolerance) {
    PathAudit audit;
    const CycleKind kind = cycle.Kind;
    // A grooving insert is checked along both edges and across its bottom.
    const double width = kind == CycleKind::Grooving ? std::max(cycle.ToolWidth, 0.0) : 0.0;
    // A pattern repeat works a preformed blank, not the bar: its rapids are
    // not held against the stock.
    const bool rapids_in_stock = stock && kind != CycleKind::PatternRepeat;
    const CyclePoint start = cycle.GetStartPoint();
    if (is_not_found(start)) return audit;
    const double min_step = tolerance * 5;
    for (const UncutPlace& u : cycle.Uncut)
        audit.findings.push_back({PathFault::UncutMaterial, 0, false, u.radius, u.at});
    // The moves place the imaginary tip; the round's centre lies back from it.
    const double nose = cycle.CompensatesNose() ? cycle.NoseRadius : 0.0;
    const CyclePoint tip = cycle.NoseTipOffset();
    if (stock) stock->start_cycle(start, cycle.XSide, cycle.ZSide);
    CyclePoint from = start;
    for (std::size_t i = 0; i < cycle.Moves.size(); ++i) {
        const TCNC_Groups& m = *cycle.Moves[i];
        if (m.Motion() == kMotionThread) {
            // The thread runs to the next record's point; it cuts into the part by design.
            if (i + 1 < cycle.Moves.size()) ++i;
            from = {cycle.Moves[i]->X(), cycle.Moves[i]->Z()};
            continue;
        }
        const OutlinePiece move = move_piece(m, from);
        from = move.b;
        const bool rapid = m.Motion() == kMotionRapid;
        Penetration worst = nose > 0 ? deepest_round(shifted(move, -tip.Z, -tip.X), part,
                                                     cycle.XSide, nose, min_step)
                                     : deepest_inside(move, part, cycle.XSide, min_step);
        if (width > 0) {
            for (const OutlinePiece& probe :
                 {shifted(move, width), outline_line(move.b, {move.b.X, move.b.Z + width})}) {
                const Penetration p = deepest_inside(probe, part, cycle.XSide, min_step);
                if (p.depth > worst.depth) worst = p;
            }
        }
        if (worst.depth > tolerance) {
            audit.findings.push_back({PathFault::EntersPart, i, rapid, worst.depth, worst.at});
            continue;
        }
        if (!stock) continue;
        const double len = length_of(move);
        const int steps =
            static_cast<int>(std::clamp(std::ceil(len / (stock->cell() / 2)), 1.0, kMaxSamples));
        for (int k = 0; k <= steps; ++k) {
            const CyclePoint q = point_along(move, static_cast<double>(k) / steps);
            if (!rapid) {
                stock->cut(q, cycle.XSide, cycle.ZSide, width);
            } else if (rapids_in_stock &&
                       (stock->in_stock(q) || (width > 0 && stock->in_stock({q.X, q.Z + width})))) {
                audit.findings.push_back({PathFault::ThroughStock, i, true, 0, q});
                break;
            }
        }
    }
    return audit;
}

} // namespace zeran
