#pragma once
// The simulator's picture: the stock left, the moves made so far in the path
// colours, the moves still to come faintly, and the insert where it stands.
#include "geometry/canvas.h"
#include "simulator/core/simulation.h"
#include "view/palette.h"

#include <functional>

namespace simvo {

// World x is the lathe's Z, world y its X (a radius), as in ZERAN's view.
using WorldToDevice = std::function<zeran::DevicePoint(double z, double x)>;

void draw_simulation(zeran::Canvas& canvas, const WorldToDevice& map, const Simulation& sim,
                     const zeran::ColourSet& colours);

// The world box the picture needs: the stock and every move.
struct SceneExtents {
    double z_min = 0, z_max = 0, x_min = 0, x_max = 0;
};
SceneExtents scene_extents(const Simulation& sim, StockSize stock);

} // namespace simvo
