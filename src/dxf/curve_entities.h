#pragma once
// Drawing entities from chains of straight and circular pieces: how polyline
// bulges and fitted curves enter the drawing.
#include "geometry/biarc_fit.h"
#include "geometry/entity.h"

#include <memory>
#include <vector>

namespace zeran {

// The pieces of a polyline whose vertex i carries bulge i for the segment to
// the next vertex (the last one's closes a closed polyline). Segments of no
// length are left out.
std::vector<ChainPiece> bulged_polyline_pieces(const std::vector<Point3D>& vertices,
                                               const std::vector<double>& bulges, bool closed);

// One entity per piece, appended to `out`. The pieces lie in the system of
// `extrusion` at height `elevation`. Straight pieces become lines in drawing
// coordinates (lines have no system of their own); arcs keep the extrusion,
// as an ARC entity would, and are marked as polyline pieces.
void add_chain_entities(const std::vector<ChainPiece>& pieces, const Point3D& extrusion,
                        double elevation, int colour,
                        std::vector<std::unique_ptr<DXF_Entity>>& out);

} // namespace zeran
