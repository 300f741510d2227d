#pragma once
// Planar curves as chains of circular arcs. Each span of the curve is
// replaced by a biarc: two arcs that take the curve's direction at both ends
// and meet each other tangentially; a span whose biarc strays too far is
// halved until every piece keeps within the tolerance.
#include "geometry/point3d.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace zeran {

// A point of a curve with its direction of travel there (any length but zero).
struct CurvePoint {
    Point2D point;
    Point2D tangent;
};
using PlaneCurve = std::function<CurvePoint(double parameter)>;

// One piece of a chain, from start to end: a straight segment, or an arc about
// centre turning counter-clockwise when ccw.
struct ChainPiece {
    Point2D start;
    Point2D end;
    bool straight = true;
    Point2D centre;
    double radius = 0.0;
    bool ccw = true;
};

// The shortest distance from p to the piece.
double piece_distance(const ChainPiece& piece, Point2D p);

// The arc from start to end of the DXF bulge b (the tangent of a quarter of
// its sweep; positive turns counter-clockwise); straight for 0.
ChainPiece bulge_piece(Point2D start, Point2D end, double bulge);

// The bulge that turns `piece` back into start, end and bulge (0 when straight).
double piece_bulge(const ChainPiece& piece);

// What fitting one curve may cost, shared by the calls for its spans: the
// pieces `out` may come to hold and the spans that may be tried on the way.
struct FitBudget {
    explicit FitBudget(std::size_t max_pieces)
        : max_pieces(max_pieces), spans_left(4 * max_pieces + 64) {}
    std::size_t max_pieces;
    std::size_t spans_left;
};

// Appends the pieces of the curve from t0 to t1 in order. False when the
// budget runs out; what was appended is then incomplete.
bool fit_biarcs(const PlaneCurve& curve, double t0, double t1, double tolerance, FitBudget& budget,
                std::vector<ChainPiece>& out);

} // namespace zeran
