#include "project/job_sheet.h"

#include "base/number_text.h"
#include "base/tolerances.h"
#include "cycles/cycle_kinds.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "geometry/matrix4.h"
#include "ncout/gnc_writer.h"
#include "project/detached_cycle.h"
#include "project/project_model.h"
#include "project/scene.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace zeran {

namespace {

std::string word(const SheetTranslate& tr, const std::string& text) {
    return tr ? tr(text) : text;
}

int to_pixel(double v) {
    const double r = std::round(v);
    if (!std::isfinite(r)) return 0;
    return static_cast<int>(std::clamp(r, -1e8, 1e8));
}

} // namespace

SheetOrientation sheet_orientation(const ProjectModel& model) {
    if (model.billet_defined)
        return model.billet_edit_l >= model.billet_edit_r ? SheetOrientation::Landscape
                                                          : SheetOrientation::Portrait;
    const double height = model.extents_max.y - model.extents_min.y;
    const double width = model.extents_max.x - model.extents_min.x;
    return height > width ? SheetOrientation::Portrait : SheetOrientation::Landscape;
}

std::string sheet_tool_text(const ProjectModel& model, int tool_number) {
    if (tool_number >= 1 && tool_number <= static_cast<int>(model.settings.tool_library.size()))
        return model.settings.tool_library[static_cast<std::size_t>(tool_number - 1)].text;
    return "#" + std::to_string(tool_number);
}

namespace {

// The insert's nose on the tool line, and who allows for it; nothing for a
// sharp tip, so sheets of such tools read as before.
std::string nose_text(const ProjectModel& model, const CycleNode& node, const SheetTranslate& tr) {
    if (!node.tool || !(node.tool->NoseRadius > 0)) return {};
    std::string text = ", " + word(tr, "nose radius") + " " + general_text(node.tool->NoseRadius) +
                       " " + (model.units == Units::Inch ? "inch" : "mm");
    if (!node.params) return text;
    switch (node.params->Controls().NoseCompensationMode()) {
    case NoseCompensation::None:
        break;
    case NoseCompensation::InProgram:
        text += ", " + word(tr, "compensated in the program");
        break;
    case NoseCompensation::InControl:
        text += ", " + word(tr, "compensated in the control (G41/G42)");
        break;
    }
    return text;
}

} // namespace

std::vector<std::string> sheet_lines(const ProjectModel& model, const SheetTranslate& tr) {
    std::vector<std::string> lines;
    int number = 0;
    for (const auto& node : model.cycles) {
        ++number;
        if (!node->checked() || !node->cycle) continue;
        std::string line = std::to_string(number) + " - " +
                           word(tr, std::string(cycle_short_name(node->cycle->Kind)));
        if (!node->cycle->Comment.empty()) line += " (" + node->cycle->Comment + ")";
        lines.push_back(line);
        const int tool = node->tool ? node->tool->ToolNumber : 0;
        lines.push_back("    " + word(tr, "Tool") + " " + sheet_tool_text(model, tool) +
                        nose_text(model, *node, tr));
    }
    if (model.billet_defined) {
        lines.emplace_back();
        lines.push_back(word(tr, "Billet") + " - " + word(tr, "Radius") + "=" +
                        general_text(model.billet_edit_r) + " " + word(tr, "Length") + "=" +
                        general_text(model.billet_edit_l));
    }
    const std::string author = model.header.header ? model.header.header->Author : std::string();
    if (!author.empty()) {
        lines.emplace_back();
        lines.push_back(word(tr, "Author") + " - " + author);
    }
    return lines;
}

double sheet_picture_top(const ProjectModel& model) {
    // The part and the billet always fit under the top, even when every start
    // point lies lower (a bore's start inside the part).
    double top = model.extents_max.y;
    if (model.billet_defined) top = std::max(top, model.datum_edit_y + model.billet_edit_r);
    for (const auto& node : model.cycles) {
        if (!node->checked() || !node->params) continue;
        // A start point not set yet would put the top at the marker value.
        if (is_not_set(node->params->StartX)) continue;
        top = std::max(top, model.datum_edit_y + node->params->StartX);
    }
    return top;
}

SheetWindow sheet_window(const ProjectModel& model, int picture_width, int picture_height,
                         int border_pixels) {
    const Point3D& lo = model.extents_min;
    const Point3D& hi = model.extents_max;
    const double dx = hi.x - lo.x;
    const double dy = hi.y - lo.y;
    // The scale that fits the drawing into the picture less the border, as
    // the view fits it into its client area.
    const double side = std::min(picture_width, picture_height) - 4.0 * border_pixels;
    double fit = std::min(dx > 0 ? side / dx : 1.0, dy > 0 ? side / dy : 1.0);
    if (!(fit > 0) || !std::isfinite(fit)) fit = 1.0;

    SheetWindow w;
    w.border = border_pixels / fit * 2;
    const double top = sheet_picture_top(model);
    w.origin_y = top;
    w.height = top - lo.y + 2 * w.border;
    if (model.billet_defined) {
        w.width = model.billet_edit_l + 2 * w.border;
        w.origin_x = lo.x - (model.billet_edit_l - dx) / 2;
    } else {
        w.width = dx + 2 * w.border;
        w.origin_x = lo.x;
    }
    const double d = std::min(picture_width, picture_height);
    w.scale = std::min(w.width > 0 ? d / w.width : 1.0, w.height > 0 ? d / w.height : 1.0);
    if (!(w.scale > 0) || !std::isfinite(w.scale)) w.scale = 1.0;
    return w;
}

DevicePoint sheet_map(const SheetWindow& w, double x, double y) {
    return {to_pixel((x - w.origin_x + w.border) * w.scale),
            to_pixel((w.origin_y - y + w.border) * w.scale)};
}

void draw_sheet_picture(const ProjectModel& model, Canvas& canvas, const SheetWindow& window,
                        int picture_width, int picture_height, const CycleColours& colours,
                        int font_height) {
    const auto map = [&window](const Point3D& p, const Matrix4* m) {
        const Point3D q = transform_point(m, p);
        return sheet_map(window, q.x, q.y);
    };
    const SceneMapping mapping{map, picture_width, picture_height, window.scale};
    SceneOptions options;
    options.style = DrawStyle::Enabled;
    options.colours = colours;
    options.background = 0xFFFFFF;
    options.element_pen_width = 2;
    // Copies of the cycles are generated here and kept until the picture is done.
    std::map<const CycleNode*, DetachedCycle> generated;
    const CycleSource detached = [&model, &generated](CycleNode& node) -> TCanCycle* {
        if (!node.checked()) return nullptr;
        DetachedCycle& d = generated[&node] = generate_detached(model, node);
        return d.generated ? d.cycle.get() : nullptr;
    };
    canvas.set_font_height(font_height);
    canvas.set_pen_mode(PenMode::Copy);
    canvas.set_brush(BrushStyle::Clear, 0xFFFFFF);
    draw_scene(model, {canvas, canvas, {}}, mapping, options, detached);

    canvas.set_pen_colour(kBlack);
    canvas.set_pen_style(PenStyle::Solid);
    canvas.set_pen_width(3);
    canvas.set_brush(BrushStyle::Clear, 0xFFFFFF);
    canvas.polygon({{3, 3},
                    {picture_width - 3, 3},
                    {picture_width - 3, picture_height - 3},
                    {3, picture_height - 3}});
    canvas.set_pen_width(1);
}

int sheet_page_margin(const SheetWindow& window, int line_height) {
    // A border of 0 would put the picture on the whole page and the list
    // below its bottom edge: keep room for the title and two list lines.
    return std::max(4 * to_pixel(window.border * window.scale), line_height + 40);
}

std::vector<PlacedLine> place_sheet_lines(const std::vector<std::string>& lines,
                                          const SheetPage& page,
                                          const std::function<int(const std::string&)>& width_of) {
    std::vector<PlacedLine> placed;
    const int lh = std::max(1, page.line_height);
    const int p = page.margin;
    const int left = p + 20;
    const int bottom = page.height - (2 * lh + 40);
    int page_no = 0;
    int x = left;
    int column_top = page.height - 2 * p + 40;
    int first = 0;
    int column_width = 0;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string& text = lines[static_cast<std::size_t>(i)];
        const int y = column_top + (i - first) * lh;
        placed.push_back({page_no, x, y, text});
        column_width = std::max(column_width, width_of ? width_of(text) : 0);
        if (y >= bottom && i % 2 == 1) {
            first = i + 1;
            x += p / 2 + column_width;
            // A column that would run past the right margin goes on a new page,
            // under the title line.
            if (x + column_width > page.width - p) {
                ++page_no;
                x = left;
                column_top = 10 + 2 * lh;
            }
        }
    }
    return placed;
}

} // namespace zeran
