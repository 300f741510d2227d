#pragma once
// Clearing a view bitmap before the scene is drawn on it; the scene itself
// is drawn by the core.
#include "geometry/canvas.h"

namespace zeran {

class QtCanvas;

// Fills the whole bitmap with the colour and leaves a solid black pen of
// width 1, a clear brush and the roman font behind.
void ClearCanvas(QtCanvas& canvas, Colour colour);

} // namespace zeran
