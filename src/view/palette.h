#pragma once
// The six drawing colours: rapid, linear, clockwise arc, counter-clockwise
// arc and thread moves, and the view's background. The window, its dialogs
// and the simulator all draw in them.
#include "geometry/canvas.h"

#include <array>

namespace zeran {

using ColourSet = std::array<Colour, 6>;

inline constexpr int kColourRapid = 0;
inline constexpr int kColourLinear = 1;
inline constexpr int kColourClockwise = 2;
inline constexpr int kColourCounterClockwise = 3;
inline constexpr int kColourThread = 4;
inline constexpr int kColourBackground = 5;

// The defaults; the background is the system's tooltip colour.
ColourSet default_colours();

} // namespace zeran
