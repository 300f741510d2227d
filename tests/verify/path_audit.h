#pragma once
// Checks of a tool path against the finished part and the stock around it.
// The path is a plain list of moves, so the same checks read a cycle's
// moves and G-code read back through an interpreter.
#include "verify_geometry.h"

#include <string>
#include <vector>

namespace zeran::verify {

enum class MoveKind { Rapid, Feed, Thread };

struct Move {
    MoveKind kind = MoveKind::Feed;
    Piece path;
};

struct Findings {
    std::vector<std::string> lines;
    void add(std::string line) { lines.push_back(std::move(line)); }
    bool empty() const { return lines.empty(); }
    std::string joined(std::size_t at_most = 8) const;
};

// Feed moves, and rapids too, entering the part deeper than `tol`. A
// grooving insert `width` wide (its reference on its minus-Z edge) is checked
// along both edges and across its bottom.
void check_gouges(const std::vector<Move>& moves, const Region& part, double tol, double step,
                  Findings& out, double width = 0);

// Arc moves whose two ends lie at different distances from the centre.
void check_arcs(const std::vector<Move>& moves, double tol, Findings& out);

// Every point of `profile` (already shifted by the allowance) lies within
// `tol` of some feed move.
void check_covered(const std::vector<Move>& moves, const std::vector<Piece>& profile, double tol,
                   double step, Findings& out);

// The material not yet removed, as a height field: for cuts along Z the
// stock of each slice of Z reaches from the part up to a front that every
// feed move lowers to itself (and the reverse below a bore); for cuts along X
// the slices run across X. A rapid found below a front, outside the part,
// moves through uncut stock.
class StockField {
public:
    // `along_z`: slices of Z (roughing along X, grooving); else slices of X.
    // `tool_high`: the tool side is the high side across the slices.
    // `start`: the cycle's start point; stock lies beyond it in both axes,
    // on the side away from the tool (`x_high`, `z_high`: the tool's sides).
    StockField(const Region& part, bool along_z, bool x_high, bool z_high, double lo, double hi,
               Pt start, double cell);
    void cut(const Piece& feed, double width = 0);
    // Depth of p inside the uncut stock (0 when it is not in the stock).
    double stock_depth(Pt p) const;

private:
    int slice(double s) const;
    double across(Pt p) const { return along_z_ ? p.z : p.x; }
    double level(Pt p) const;
    const Region& part_;
    bool along_z_;
    bool tool_high_;
    double lo_, hi_, cell_;
    double other_front_; // the start point across the slices, as a level
    bool other_high_;
    std::vector<double> front_;
};

void check_rapids_in_stock(const std::vector<Move>& moves, StockField& stock, double tol,
                           double step, Findings& out, double width = 0);

} // namespace zeran::verify
