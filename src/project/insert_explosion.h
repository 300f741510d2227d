#pragma once
// Exploding blocks and block insertions into a layer: every element lands
// where the insertion draws it, with rotation, scale, mirroring, extrusion
// and nested insertions composed.
#include "geometry/entity.h"

#include <memory>
#include <string>
#include <vector>

namespace zeran {

class Block_;
class DXF_Layer;
class Insert_;

// Copies of `element` in world coordinates once `m` (none: identity) is
// applied after the element's own ocs. Circles come back as their two half
// arcs. An arc under a similarity stays an arc; under unequal scaling it is
// no longer circular and comes back as a polyline whose chord error stays
// below kExplodedChordTolerance. Texts, blocks and insertions give nothing.
std::vector<std::unique_ptr<DXF_Entity>> placed_copies(const DXF_Entity& element, const Matrix4* m);

// Below the point tolerance of either unit system, so the polyline stands
// for the ellipse even after an inch drawing is converted to millimetres.
inline constexpr double kExplodedChordTolerance = 0.0002;

// Adds the elements of `block`, placed by `m`, to `layer`; nested blocks and
// insertions are exploded in turn. A missing nested block is skipped and its
// message added to `messages`.
void explode_block(DXF_Layer& layer, const Block_& block, const Matrix4* m,
                   std::vector<std::string>& messages);

// The matrix that places the elements of an insertion's block: block base
// shift, then the insertion's own transform, then `parent`.
Matrix4 insertion_placement(const Insert_& insert, const Block_& block, const Matrix4* parent);

} // namespace zeran
