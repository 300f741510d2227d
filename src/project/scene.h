#pragma once
// The scene of a project drawn onto any Canvas through a mapping: the kept
// elements, the origin marker, the datum cross, the billet rectangle, the
// tool paths chosen by the draw style with their start markers, and the
// direction arrows of the current profile. The view, the previews and the
// job sheet all draw through here.
#include "cycles/can_cycle.h"
#include "geometry/canvas.h"
#include "geometry/entity.h"
#include "geometry/point3d.h"

#include <functional>

namespace zeran {

class DXF_Object;
class Entity_List;
class ProjectModel;
class Progress;
struct CycleNode;

enum class DrawStyle { Selected = 0, Enabled = 1, All = 2, None = 3 };

inline constexpr Colour kPureBlue = 0xFF0000; // 0x00BBGGRR
inline constexpr Colour kMarkerRed = 0x0000FF;
inline constexpr Colour kBlack = 0x000000;

// How drawing points reach the device, and the device's size in pixels.
struct SceneMapping {
    point_mapper map;
    int width = 0;
    int height = 0;
    double scale = 0; // device pixels per drawing unit
};

struct SceneOptions {
    DrawStyle style = DrawStyle::Selected;
    // The cycle whose node is selected: the one the Selected style draws and
    // whose profile gets arrows.
    CycleNode* current = nullptr;
    bool input_tab = false;      // origin marker; no paths and no arrows
    bool show_direction = false; // arrows along the current profile
    bool marks_only = false;     // stop after the markers (a marker drag)
    CycleColours colours{};
    Colour background = 0xFFFFFF;
    int element_pen_width = 1;
};

// The cycle to draw for a node, ready generated, or null to leave it out.
// The view takes the project's own generated cycles; the sheet generates copies.
using CycleSource = std::function<TCanCycle*(CycleNode&)>;

// Where each part of the scene goes: elements and paths on `drawing`, the
// datum and billet on `marks` (which may be the same canvas). `marks_done`
// runs between the markers and the paths (the view composes its bitmaps).
struct SceneTargets {
    Canvas& drawing;
    Canvas& marks;
    std::function<void()> marks_done;
};

// Draws the whole scene; reads the project, never changes it.
void draw_scene(const ProjectModel& model, const SceneTargets& targets, const SceneMapping& mapping,
                const SceneOptions& options, const CycleSource& cycles,
                Progress* progress = nullptr);

// The marker's radius in pixels for a drawing's corners at a scale. The size
// follows how much further the drawing reaches on one side of the origin than
// on the other; it is never below a few pixels, whatever the drawing.
int marker_radius(const Point3D& drawing_max, const Point3D& drawing_min, double scale);

// A circle of radius r round (a, b) with a cross twice as long each way.
void DrawMarker(Canvas& canvas, DevicePoint at, int radius, Colour colour);

// The dashed red datum cross over the whole device.
void draw_datum_cross(Canvas& canvas, const SceneMapping& mapping, Point3D datum);
// The dotted red billet rectangle from the datum, length to the left and
// radius up.
void draw_billet_rectangle(Canvas& canvas, const SceneMapping& mapping, Point3D datum,
                           double length, double radius, Colour background);

// The paths of the cycles the style chooses, each with its start marker.
void draw_cycles(const ProjectModel& model, Canvas& canvas, const SceneMapping& mapping,
                 const SceneOptions& options, const CycleSource& cycles);
// Filled arrows at the end of each element of the current profile.
void draw_direction_arrows(const ProjectModel& model, const CycleNode* current, Canvas& canvas,
                           const SceneMapping& mapping, Colour background);

// Every entity of the list, in list order, on the canvas.
void draw_entities(Canvas& canvas, const Entity_List& list, point_mapper map);
// Every entity of every layer, layers from the last to the first, each layer
// in list order (as the preview draws a drawing).
void draw_drawing(Canvas& canvas, const DXF_Object& drawing, point_mapper map);

} // namespace zeran
