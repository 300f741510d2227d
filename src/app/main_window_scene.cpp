// The scene in the view: kept elements, markers, tool paths and direction
// arrows; the view's mouse for the datum tool and the hover highlight.
#include "app/main_window.h"
#include "app/scene_drawing.h"
#include "cycles/can_cycle.h"
#include "cycles/picking_geometry.h"
#include "geometry/dxf_object.h"
#include "geometry/entity_list.h"
#include "geometry/selection_lists.h"
#include "project/element_lists.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QApplication>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <cmath>

namespace zeran {

namespace {

constexpr Colour kPureBlue = 0xFF0000; // 0x00BBGGRR
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlack = 0x000000;

// The hourglass for the length of a scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void TMainForm::zoom_to_drawing() {
    if (!model_->drawing_loaded) return;
    view_->SetActive(true);
    view_->FitExtents(settings_.border, model_->extents_max.y, model_->extents_min.y,
                      model_->extents_max.x, model_->extents_min.x);
}

void TMainForm::ZoomBoxNeedReDraw() {
    if (model_->busy || !model_->selection) return;
    const Colour background = settings_.colours[kColourBackground];
    view_->setColour(background);
    ClearCanvas(view_->DrawCanvas(), background);
    ClearCanvas(view_->MarkCanvas(), background);

    BitmapMapper map{view_};
    long long total = 0;
    for (const auto& list : *model_->selection) total += list->count();
    progress_->setMaximum(static_cast<int>(std::min<long long>(total, 1 << 30)));
    {
        WaitCursor wait;
        int done = 0;
        for (const auto& list : *model_->selection) {
            for (const DXF_Entity* e : *list) {
                e->draw(view_->DrawCanvas(), nullptr, map);
                progress_->setValue(++done);
            }
        }
    }
    progress_->setValue(0);

    const bool input = !program_tab_active();
    const double scale = view_->current_scale();
    if (input && scale != 0) {
        const int r = marker_radius(model_->extents_max, model_->extents_min, scale);
        DrawMarker(view_->DrawCanvas(), view_->WorldToBitmap({0, 0, 0}), r, kPureBlue);
    }
    if (model_->datum_set) draw_datum_cross();
    if (model_->billet_defined) draw_billet_rectangle();
    if (datum_dragging_ || input) return;
    view_->Compose();
    DrawCycles();
    DrawDirectionArrows();
    audit_paths();
}

void TMainForm::audit_paths() {
    std::vector<int> before;
    for (const auto& node : model_->cycles) before.push_back(node->params_node.state_index);
    model_->AuditPaths();
    for (std::size_t i = 0; i < model_->cycles.size(); ++i) {
        if (model_->cycles[i]->params_node.state_index == before[i]) continue;
        const int row = static_cast<int>(i) + 1;
        if (QTreeWidgetItem* item = cycle_list_->topLevelItem(row)) refresh_cycle_item(item, row);
    }
}

void TMainForm::draw_datum_cross() {
    QtCanvas& c = view_->MarkCanvas();
    const DevicePoint at = view_->WorldToBitmap({model_->datum_edit_x, model_->datum_edit_y, 0});
    c.set_pen_colour(kRed);
    c.set_pen_style(PenStyle::Dash);
    c.set_pen_mode(PenMode::Copy);
    c.line({0, at.y}, {view_->BmpWidth(), at.y});
    c.line({at.x, 0}, {at.x, view_->BmpHeight()});
    c.set_pen_style(PenStyle::Solid);
}

void TMainForm::draw_billet_rectangle() {
    QtCanvas& c = view_->MarkCanvas();
    const double x = model_->datum_edit_x;
    const double y = model_->datum_edit_y;
    const double l = model_->billet_edit_l;
    const double r = model_->billet_edit_r;
    const DevicePoint a = view_->WorldToBitmap({x, y, 0});
    const DevicePoint b = view_->WorldToBitmap({x - l, y + r, 0});
    c.set_pen_colour(kRed);
    c.set_pen_style(PenStyle::Dot);
    c.set_pen_mode(PenMode::Copy);
    c.set_brush(BrushStyle::Clear, settings_.colours[kColourBackground]);
    c.polygon({a, {b.x, a.y}, b, {a.x, b.y}});
    c.set_pen_style(PenStyle::Solid);
}

void TMainForm::DrawCycles() {
    if (draw_style_ == DrawStyle::None) return;
    WaitCursor wait;
    QtCanvas& canvas = view_->DrawCanvas();
    CycleColours colours;
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = settings_.colours[i];
    const DrawingProjection project = [this](double x, double y) {
        return view_->WorldToBitmap({x, y, 0});
    };
    const int radius =
        marker_radius(model_->extents_max, model_->extents_min, view_->current_scale());
    auto draw_one = [&](TCanCycle& cycle) {
        cycle.DrawScale = view_->current_scale();
        cycle.Draw(canvas, colours, project);
        const CyclePoint s = cycle.GetStartPoint();
        if (is_not_set(s.X) || is_not_set(s.Z)) return;
        DrawMarker(
            canvas,
            view_->WorldToBitmap({model_->datum_edit_x + s.Z, model_->datum_edit_y + s.X, 0}),
            radius, kRed);
    };
    if (draw_style_ == DrawStyle::Selected) {
        if (CycleNode* node = model_->CurrentCycleNode()) {
            TCanCycle& cycle = model_->PrepareCycle(*node, false);
            if (cycle.CanGenerate()) draw_one(cycle);
        }
        return;
    }
    for (auto& node : model_->cycles) {
        TCanCycle& cycle = model_->PrepareCycle(*node, false);
        if (cycle.CanGenerate() && (node->checked() || draw_style_ == DrawStyle::All))
            draw_one(cycle);
    }
}

void TMainForm::DrawDirectionArrows() {
    CycleNode* node = model_->CurrentCycleNode();
    if (!show_direction() || !node || node->points.empty()) return;
    QtCanvas& canvas = view_->DrawCanvas();
    canvas.set_brush(BrushStyle::Solid, kBlack);
    const double d = (model_->extents_max.x - model_->extents_min.x) / 50.0;
    for (const ProfileItem& item : node->points.items) {
        if (!item.element) continue;
        const DirectionArrow arrow = ElementDirection(*item.element, model_->point_tolerance());
        const Point3D u{-arrow.direction.x, -arrow.direction.y, 0};
        const Point3D tip = arrow.at;
        const Point3D m{tip.x + u.x * d, tip.y + u.y * d, 0};
        const Point3D n = Perpendicular(u, true);
        const Point3D c1{m.x + n.x * d / 3, m.y + n.y * d / 3, 0};
        const Point3D c2{m.x - n.x * d / 3, m.y - n.y * d / 3, 0};
        canvas.set_pen_colour(item.element->colour());
        canvas.polygon(
            {view_->WorldToBitmap(tip), view_->WorldToBitmap(c1), view_->WorldToBitmap(c2)});
    }
    canvas.set_brush(BrushStyle::Clear, settings_.colours[kColourBackground]);
}

void TMainForm::set_view_cursor(CursorKind kind, bool on) {
    view_->setCursor(on ? cursor_of(kind) : QCursor(Qt::CrossCursor));
    view_->setShowDrawRect(on ? TDrawRect::drNone : TDrawRect::drZoom);
    highlighted_ = nullptr;
}

void TMainForm::highlight(const DXF_Entity* element) {
    if (element == highlighted_) return;
    // Drawing the highlight twice in inverting mode removes it.
    ScreenMapper map{view_};
    QtCanvas& screen = view_->ScreenCanvas();
    auto mark = [&](const DXF_Entity* e) {
        if (!e) return;
        screen.set_pen_mode(PenMode::Not);
        screen.set_pen_width(3);
        e->draw(screen, nullptr, map);
        screen.set_pen_width(1);
        screen.set_pen_mode(PenMode::Copy);
    };
    mark(highlighted_);
    highlighted_ = element;
    mark(highlighted_);
    view_->update();
}

void TMainForm::forget_drawing_elements() {
    highlighted_ = nullptr;
    if (flasher_) flasher_->stop();
    flash_list_.clear();
}

void TMainForm::ZoomBoxMouseDown(const ViewMouse& m) {
    if (m.button != MouseButton::Left || !model_->drawing_loaded) return;
    if (!datum_tool_->isChecked()) {
        // On the input tab a press on the highlighted element takes it in or
        // leaves it out.
        if (program_tab_active() || !highlighted_) return;
        const DXF_Entity* element = highlighted_;
        highlighted_ = nullptr;
        model_->ToggleElement(element);
        sync_files_tree();
        view_->Repaint();
        return;
    }
    datum_dragging_ = true;
    const Point2D p = view_->ScreenToWorld(m.at);
    model_->BeginDatumDrag({p.x, p.y, 0}, m.shift.ctrl ? highlighted_ : nullptr);
}

void TMainForm::ZoomBoxMouseMove(const ViewMouse& m) {
    // While busy the drawing may be on its way out (an import's questions run
    // their own event loop).
    if (model_->busy || !model_->drawing_loaded || !model_->selection) return;
    const Point2D p = view_->ScreenToWorld(m.at);
    if (datum_dragging_) {
        model_->SetDatumFromPoint({p.x, p.y, 0}, m.shift.ctrl ? highlighted_ : nullptr, true);
        refresh_panels();
    }
    // The nearest element lights up under the pointer: all elements on the
    // input tab, the kept copies on the program tab.
    const selection_lists* lists =
        program_tab_active() ? model_->selection.get() : model_->all_elements.get();
    const DXF_Entity* before = highlighted_;
    highlight(lists ? NearestEntity({p.x, p.y, 0}, *lists) : nullptr);
    if (!program_tab_active() && highlighted_ && highlighted_ != before)
        select_files_node(highlighted_);
}

// The drawing tree follows the element under the pointer on the input tab.
void TMainForm::select_files_node(const DXF_Entity* element) {
    const std::vector<DrawingNode*> nodes = tree_nodes(model_->tree);
    for (QTreeWidgetItemIterator it(files_tree_); *it; ++it) {
        const int index = (*it)->data(0, Qt::UserRole).toInt();
        if (index <= 0 || index >= static_cast<int>(nodes.size())) continue;
        if (nodes[std::size_t(index)]->entity != element) continue;
        const QSignalBlocker quiet(files_tree_);
        files_tree_->setCurrentItem(*it);
        files_tree_->scrollToItem(*it);
        return;
    }
}

void TMainForm::ZoomBoxMouseUp(const ViewMouse& m) {
    if (!datum_dragging_) return;
    datum_dragging_ = false;
    const Point2D p = view_->ScreenToWorld(m.at);
    model_->EndDatumDrag({p.x, p.y, 0}, m.shift.ctrl ? DatumSnap::On : DatumSnap::Off);
    view_->Datum = {model_->datum_edit_y, model_->datum_edit_x};
    model_->BuildSelectionLists();
    highlighted_ = nullptr;
    EnableCommands(true);
    refresh_panels();
    view_->Repaint();
}

} // namespace zeran
