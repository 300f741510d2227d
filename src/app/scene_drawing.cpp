#include "app/scene_drawing.h"

#include "geometry/dxf_object.h"
#include "geometry/entity_list.h"
#include "view/qt_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

int marker_radius(const Point3D& drawing_max, const Point3D& drawing_min, double scale) {
    // A drawing symmetric about X = 0, or a degenerate scale, would leave no
    // marker at all; the smallest one still reads as a circle with a cross.
    constexpr int kSmallest = 4;
    constexpr double kLargest = 1e4;
    const double r =
        std::fabs((std::fabs(drawing_max.x) - std::fabs(drawing_min.x)) / 50.0 * scale);
    if (!std::isfinite(r) || r > kLargest) return kSmallest;
    return std::max(kSmallest, static_cast<int>(std::lround(r)));
}

void DrawMarker(Canvas& canvas, DevicePoint at, int r, Colour colour) {
    canvas.set_pen_colour(colour);
    canvas.set_pen_style(PenStyle::Solid);
    const BrushStyle brush = canvas.brush_style();
    const Colour brush_colour = canvas.brush_colour();
    canvas.set_brush(BrushStyle::Clear, brush_colour);
    canvas.ellipse({at.x - r, at.y - r}, {at.x + r, at.y + r});
    canvas.set_brush(brush, brush_colour);
    canvas.line({at.x - 2 * r, at.y}, {at.x + 2 * r, at.y});
    canvas.line({at.x, at.y - 2 * r}, {at.x, at.y + 2 * r});
}

void draw_entities(Canvas& canvas, const Entity_List& list, point_mapper map) {
    for (const DXF_Entity* e : list) e->draw(canvas, nullptr, map);
}

void draw_drawing(Canvas& canvas, const DXF_Object& drawing, point_mapper map) {
    const LayerList& layers = drawing.layers();
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer)
        for (const auto& list : (*layer)->entity_lists()) draw_entities(canvas, *list, map);
}

} // namespace zeran
