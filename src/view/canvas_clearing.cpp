#include "view/canvas_clearing.h"

#include "view/qt_canvas.h"

namespace zeran {

void ClearCanvas(QtCanvas& canvas, Colour colour) {
    if (QImage* img = canvas.image()) {
        canvas.fill_rect({0, 0}, {img->width(), img->height()}, colour);
    }
    canvas.set_font_height(12);
    canvas.set_pen_colour(0x000000);
    canvas.set_pen_style(PenStyle::Solid);
    canvas.set_pen_width(1);
    canvas.set_pen_mode(PenMode::Copy);
    canvas.set_brush(BrushStyle::Clear, colour);
}

} // namespace zeran
