#pragma once
// Scene-drawing helpers that need no project: clearing a bitmap, the origin
// and start-point marker, and drawing a drawing's entities through a mapper.
#include "geometry/canvas.h"
#include "geometry/entity.h"
#include "geometry/point3d.h"

namespace zeran {

class DXF_Object;
class Entity_List;
class QtCanvas;

// Fills the whole bitmap with the colour and leaves a solid black pen of
// width 1, a clear brush and the roman font behind.
void ClearCanvas(QtCanvas& canvas, Colour colour);

// The marker's radius in pixels for a drawing's corners at a scale. The size
// follows how much further the drawing reaches on one side of the origin than
// on the other; it is never below a few pixels, whatever the drawing.
int marker_radius(const Point3D& drawing_max, const Point3D& drawing_min, double scale);

// A circle of radius r round (a, b) with a cross twice as long each way.
void DrawMarker(Canvas& canvas, DevicePoint at, int radius, Colour colour);

// Every entity of the list, in list order, on the canvas.
void draw_entities(Canvas& canvas, const Entity_List& list, point_mapper map);
// Every entity of every layer, layers from the last to the first, each layer
// in list order (as the preview draws a drawing).
void draw_drawing(Canvas& canvas, const DXF_Object& drawing, point_mapper map);

} // namespace zeran
