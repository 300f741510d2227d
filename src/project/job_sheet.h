#pragma once
// The job sheet without a printer: which way the page turns, the list of
// cycles with their tools, the billet and the author, the window of the
// drawing the picture shows, the picture itself (through the scene), and
// where each list line lands on which page. The Qt side paints the pages.
#include "cycles/can_cycle.h"
#include "geometry/canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace zeran {

class ProjectModel;

enum class SheetOrientation { Portrait, Landscape };

// Each fixed word of the list passes through here (the window's translation).
using SheetTranslate = std::function<std::string(const std::string&)>;

// Landscape for a billet at least as long as its radius, portrait for any
// other billet; without a billet, portrait when the drawing is taller than wide.
SheetOrientation sheet_orientation(const ProjectModel& model);

// The tool line's text for a cycle: the tool library's entry for its number,
// or "#" and the number when there is no such entry.
std::string sheet_tool_text(const ProjectModel& model, int tool_number);

// The list: per checked cycle its numbered kind line (unchecked cycles keep
// their numbers) and its tool line; then the billet and the author.
std::vector<std::string> sheet_lines(const ProjectModel& model, const SheetTranslate& tr = {});

// The drawing y at the picture's top: the highest of the checked cycles'
// start points, the drawing's top and the billet's top.
double sheet_picture_top(const ProjectModel& model);

// The part of the drawing the picture shows and how it maps onto the picture.
struct SheetWindow {
    double origin_x = 0; // drawing point at the picture's top-left, inside the border
    double origin_y = 0;
    double width = 0;
    double height = 0;
    double border = 0; // in drawing units
    double scale = 1;  // picture pixels per drawing unit
};

// The window for a picture of that size; `border_pixels` is the view's border
// setting, turned into drawing units through the scale that would fit the
// drawing into the picture.
SheetWindow sheet_window(const ProjectModel& model, int picture_width, int picture_height,
                         int border_pixels);

// The print mapping of a drawing point to a picture pixel.
DevicePoint sheet_map(const SheetWindow& w, double x, double y);

// The picture: elements with a pen of width 2, datum cross, billet, the
// enabled cycles with their start markers (generated apart from the project),
// and a frame. Nothing of the project changes.
void draw_sheet_picture(const ProjectModel& model, Canvas& canvas, const SheetWindow& window,
                        int picture_width, int picture_height, const CycleColours& colours,
                        int font_height);

// Where one list line goes: page 0 is the sheet with the picture, further
// pages carry the rest of a list too long for the first.
struct PlacedLine {
    int page = 0;
    int x = 0;
    int y = 0; // top of the line
    std::string text;
};

struct SheetPage {
    int width = 0;
    int height = 0;
    int margin = 0;      // p, in page pixels
    int line_height = 0; // the title's text height
};

// Lines below the picture in columns of an even number of lines (a cycle
// line keeps its tool line); a column that would start past the page's right
// margin starts a new page, where the list runs from under the title.
std::vector<PlacedLine> place_sheet_lines(const std::vector<std::string>& lines,
                                          const SheetPage& page,
                                          const std::function<int(const std::string&)>& width_of);

// The page margin p for the window: four times the border in picture pixels,
// but never less than the title's height and the room the list needs.
int sheet_page_margin(const SheetWindow& window, int line_height);

} // namespace zeran
