// The figures that follow the pointer while the datum or the billet is
// dragged: a dashed cross through the datum across the whole view and the
// dotted billet rectangle, drawn straight on the screen in red.
#include "app/main_window.h"
#include "project/billet_start_tools.h"
#include "project/datum_drag_tool.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

namespace zeran {

namespace {
constexpr Colour kBandColour = 255; // red
} // namespace

void TMainForm::draw_drag_bands() {
    if (!dragging_marker() || !model_->datum_set) return;
    // The picture of the drag's marks, then the figures over it.
    view_->Repaint();
    highlighted_ = nullptr; // the repaint wiped it; the next move draws it again
    QtCanvas& screen = view_->ScreenCanvas();
    const PixelSize area = view_->client_size();
    const DevicePoint datum = view_->WorldToScreen({model_->datum_edit_x, model_->datum_edit_y, 0});
    screen.set_pen_colour(kBandColour);
    screen.set_pen_width(1);
    screen.set_pen_mode(PenMode::Copy);
    if (datum_drag_->active()) {
        screen.set_pen_style(PenStyle::Dash);
        screen.line({0, datum.y}, {area.width, datum.y});
        screen.line({datum.x, 0}, {datum.x, area.height});
    }
    if (model_->billet_edit_l != 0 && model_->billet_edit_r != 0) {
        const DevicePoint corner =
            view_->WorldToScreen({model_->datum_edit_x - model_->billet_edit_l,
                                  model_->datum_edit_y + model_->billet_edit_r, 0});
        screen.set_pen_style(PenStyle::Dot);
        screen.set_brush(BrushStyle::Clear, kBandColour);
        screen.polygon({datum, {corner.x, datum.y}, corner, {datum.x, corner.y}});
    }
    screen.set_pen_style(PenStyle::Solid);
    screen.finish();
    view_->update();
}

} // namespace zeran
