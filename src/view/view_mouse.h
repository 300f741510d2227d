#pragma once
// The view's mouse input in its own terms: which button, the modifier and
// button state, and the pixel in the view's paint area. Qt events are turned
// into this in one place (zoom_panel.cpp), so that handlers further up never
// see a QMouseEvent.
#include "geometry/canvas.h"

namespace zeran {

enum class MouseButton { None, Left, Right, Middle };

struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool left = false;   // left button held
    bool right = false;  // right button held
    bool middle = false; // middle button held
    bool double_click = false;
};

struct ViewMouse {
    MouseButton button = MouseButton::None;
    ShiftState shift;
    DevicePoint at; // paint-area pixels
};

} // namespace zeran
