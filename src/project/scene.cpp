#include "project/scene.h"

#include "base/progress.h"
#include "base/tolerances.h"
#include "cycles/picking_geometry.h"
#include "geometry/dxf_object.h"
#include "geometry/entity_list.h"
#include "geometry/selection_lists.h"
#include "project/project_model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zeran {

namespace {

DevicePoint to_device(const SceneMapping& mapping, Point3D p) {
    return mapping.map(p, nullptr);
}

void draw_elements(const ProjectModel& model, Canvas& canvas, const SceneMapping& mapping,
                   int pen_width, Progress* progress) {
    long long total = 0;
    for (const auto& list : *model.selection) total += list->count();
    if (progress) progress->progress(total, 0);
    canvas.set_pen_width(pen_width);
    long long done = 0;
    for (const auto& list : *model.selection) {
        for (const DXF_Entity* e : *list) {
            e->draw(canvas, nullptr, mapping.map);
            if (progress) progress->progress(-1, ++done);
        }
    }
    canvas.set_pen_width(1);
    if (progress) progress->progress(-1, 0);
}

} // namespace

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

void draw_datum_cross(Canvas& canvas, const SceneMapping& mapping, Point3D datum) {
    const DevicePoint at = to_device(mapping, datum);
    canvas.set_pen_colour(kMarkerRed);
    canvas.set_pen_style(PenStyle::Dash);
    canvas.set_pen_mode(PenMode::Copy);
    canvas.line({0, at.y}, {mapping.width, at.y});
    canvas.line({at.x, 0}, {at.x, mapping.height});
    canvas.set_pen_style(PenStyle::Solid);
}

void draw_billet_rectangle(Canvas& canvas, const SceneMapping& mapping, Point3D datum,
                           double length, double radius, Colour background) {
    const DevicePoint a = to_device(mapping, datum);
    const DevicePoint b = to_device(mapping, {datum.x - length, datum.y + radius, 0});
    canvas.set_pen_colour(kMarkerRed);
    canvas.set_pen_style(PenStyle::Dot);
    canvas.set_pen_mode(PenMode::Copy);
    canvas.set_brush(BrushStyle::Clear, background);
    canvas.polygon({a, {b.x, a.y}, b, {a.x, b.y}});
    canvas.set_pen_style(PenStyle::Solid);
}

void draw_cycles(const ProjectModel& model, Canvas& canvas, const SceneMapping& mapping,
                 const SceneOptions& options, const CycleSource& cycles) {
    if (options.style == DrawStyle::None || !cycles) return;
    const DrawingProjection project = [&mapping](double x, double y) {
        return to_device(mapping, {x, y, 0});
    };
    const int radius = marker_radius(model.extents_max, model.extents_min, mapping.scale);
    auto draw_one = [&](TCanCycle& cycle) {
        cycle.DrawScale = mapping.scale;
        cycle.Draw(canvas, options.colours, project);
        const CyclePoint s = cycle.GetStartPoint();
        if (is_not_set(s.X) || is_not_set(s.Z)) return;
        DrawMarker(canvas,
                   to_device(mapping, {model.datum_edit_x + s.Z, model.datum_edit_y + s.X, 0}),
                   radius, kMarkerRed);
    };
    if (options.style == DrawStyle::Selected) {
        if (options.current && model.cycle_index(options.current) >= 0)
            if (TCanCycle* cycle = cycles(*options.current)) draw_one(*cycle);
        return;
    }
    for (const auto& node : model.cycles) {
        // Every cycle is prepared, so unchecked ones stay current too.
        TCanCycle* cycle = cycles(*node);
        if (cycle && (node->checked() || options.style == DrawStyle::All)) draw_one(*cycle);
    }
}

void draw_direction_arrows(const ProjectModel& model, const CycleNode* node, Canvas& canvas,
                           const SceneMapping& mapping, Colour background) {
    if (!node || node->points.empty()) return;
    canvas.set_brush(BrushStyle::Solid, kBlack);
    const double d = (model.extents_max.x - model.extents_min.x) / 50.0;
    for (const ProfileItem& item : node->points.items) {
        if (!item.element) continue;
        const DirectionArrow arrow = ElementDirection(*item.element, model.point_tolerance());
        const Point3D u{-arrow.direction.x, -arrow.direction.y, 0};
        const Point3D tip = arrow.at;
        const Point3D m{tip.x + u.x * d, tip.y + u.y * d, 0};
        const Point3D n = Perpendicular(u, true);
        const Point3D c1{m.x + n.x * d / 3, m.y + n.y * d / 3, 0};
        const Point3D c2{m.x - n.x * d / 3, m.y - n.y * d / 3, 0};
        canvas.set_pen_colour(item.element->colour());
        canvas.polygon({to_device(mapping, tip), to_device(mapping, c1), to_device(mapping, c2)});
    }
    canvas.set_brush(BrushStyle::Clear, background);
}

void draw_scene(const ProjectModel& model, const SceneTargets& targets, const SceneMapping& mapping,
                const SceneOptions& options, const CycleSource& cycles, Progress* progress) {
    if (!model.selection) return;
    draw_elements(model, targets.drawing, mapping, options.element_pen_width, progress);
    if (options.input_tab && mapping.scale != 0) {
        const int r = marker_radius(model.extents_max, model.extents_min, mapping.scale);
        DrawMarker(targets.drawing, to_device(mapping, {0, 0, 0}), r, kPureBlue);
    }
    const Point3D datum{model.datum_edit_x, model.datum_edit_y, 0};
    if (model.datum_set) draw_datum_cross(targets.marks, mapping, datum);
    if (model.billet_defined)
        draw_billet_rectangle(targets.marks, mapping, datum, model.billet_edit_l,
                              model.billet_edit_r, options.background);
    if (options.marks_only || options.input_tab) return;
    if (targets.marks_done) targets.marks_done();
    draw_cycles(model, targets.drawing, mapping, options, cycles);
    if (options.show_direction)
        draw_direction_arrows(model, options.current, targets.drawing, mapping, options.background);
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
