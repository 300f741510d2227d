// The scene in the view: kept elements, markers, tool paths and direction
// arrows; the view's mouse for the datum tool and the hover highlight.
#include "app/main_window.h"
#include "app/wait_cursor.h"
#include "base/progress.h"
#include "cycles/can_cycle.h"
#include "cycles/picking_geometry.h"
#include "geometry/dxf_object.h"
#include "geometry/entity_list.h"
#include "geometry/selection_lists.h"
#include "project/billet_start_tools.h"
#include "project/datum_drag_tool.h"
#include "project/element_lists.h"
#include "project/project_model.h"
#include "project/scene.h"
#include "view/canvas_clearing.h"
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

// The element loop's progress on the window's progress bar.
class BarProgress final : public Progress {
public:
    explicit BarProgress(QProgressBar* bar) : bar_(bar) {}
    void progress(long long max, long long position) override {
        if (max >= 0) bar_->setMaximum(static_cast<int>(std::min<long long>(max, 1 << 30)));
        bar_->setValue(static_cast<int>(std::min<long long>(position, 1 << 30)));
    }
    void show_busy(const std::string&) override {}
    void hide_busy() override {}

private:
    QProgressBar* bar_;
};

} // namespace

void TMainForm::zoom_to_drawing() {
    if (!model_->drawing_loaded) return;
    view_->SetActive(true);
    view_->FitExtents(settings_.border, model_->extents_max.y, model_->extents_min.y,
                      model_->extents_max.x, model_->extents_min.x);
}

SceneOptions TMainForm::scene_options() const {
    SceneOptions o;
    o.style = draw_style_;
    if (CycleNode* node = session_->selected.node; node && model_->cycle_index(node) >= 0)
        o.current = node;
    o.input_tab = !program_tab_active();
    o.show_direction = show_direction();
    o.marks_only = dragging_marker();
    for (std::size_t i = 0; i < o.colours.size(); ++i) o.colours[i] = settings_.colours[i];
    o.background = settings_.colours[kColourBackground];
    return o;
}

void TMainForm::ZoomBoxNeedReDraw() {
    if (busy_ || !model_->selection) return;
    const Colour background = settings_.colours[kColourBackground];
    view_->setColour(background);
    ClearCanvas(view_->DrawCanvas(), background);
    ClearCanvas(view_->MarkCanvas(), background);

    BitmapMapper map{view_};
    const SceneMapping mapping{map, view_->BmpWidth(), view_->BmpHeight(), view_->current_scale()};
    // The paths every edit left generated; painting generates nothing.
    const CycleSource prepared = [](CycleNode& node) -> TCanCycle* {
        TCanCycle& cycle = *node.cycle;
        return !cycle.NeedsGenerate && cycle.CanGenerate() ? &cycle : nullptr;
    };
    WaitCursor wait;
    BarProgress bar(progress_);
    const SceneTargets targets{view_->DrawCanvas(), view_->MarkCanvas(),
                               [this] { view_->Compose(); }};
    draw_scene(*model_, targets, mapping, scene_options(), prepared, &bar);
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

void TMainForm::set_view_cursor(CursorKind kind, bool on) {
    view_->setPictureCursor(on ? cursor_of(kind) : QCursor(Qt::CrossCursor));
    view_->setShowDrawRect(on ? TDrawRect::drNone : TDrawRect::drZoom);
    highlighted_ = nullptr;
}

QToolButton* TMainForm::make_marker_tool(QWidget* parent, const char* name, CursorKind kind,
                                         const QString& icon, const QString& tip) {
    auto* tool = new QToolButton(parent);
    tool->setObjectName(name);
    tool->setCheckable(true);
    tool->setIcon(QIcon(icon));
    tool->setToolTip(tip);
    connect(tool, &QToolButton::toggled, this, [this, tool, kind](bool on) {
        if (on) release_marker_tools(tool);
        set_view_cursor(kind, on);
    });
    return tool;
}

void TMainForm::release_marker_tools(QToolButton* keep) {
    for (QToolButton* tool : {datum_tool_, billet_tool_, start_tool_})
        if (tool && tool != keep) tool->setChecked(false);
}

bool TMainForm::dragging_marker() const {
    return datum_drag_->active() || billet_drag_->active();
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
    view_->ShowScreen();
}

void TMainForm::forget_drawing_elements() {
    highlighted_ = nullptr;
    hover_.forget();
    if (flasher_) flasher_->stop();
    flash_list_.clear();
}

void TMainForm::ZoomBoxMouseDown(const ViewMouse& m) {
    if (pick_press(m)) return;
    if (m.button != MouseButton::Left || !model_->drawing_loaded) return;
    const Point2D at = view_->ScreenToWorld(m.at);
    if (billet_tool_->isChecked() && model_->datum_set) {
        billet_drag_->begin({at.x, at.y, 0});
        refresh_panels();
        draw_drag_bands();
        return;
    }
    if (start_tool_->isChecked()) {
        if (session_->selected.part == CyclePart::Parameters && session_->selected.node)
            start_place_->place(*session_->selected.node, {at.x, at.y, 0});
        refresh_panels();
        return;
    }
    if (!datum_tool_->isChecked()) {
        // On the input tab a press on the highlighted element takes it in or
        // leaves it out.
        if (program_tab_active() || !highlighted_) return;
        const DXF_Entity* element = highlighted_;
        highlighted_ = nullptr;
        edit("Select Element", {Change::Drawing},
             [element](ProjectModel& model) { model.ToggleElement(element); });
        return;
    }
    const DXF_Entity* snap_to = m.shift.ctrl ? highlighted_ : nullptr;
    datum_drag_->begin({at.x, at.y, 0}, snap_to);
    draw_drag_bands();
    // The element snapped to stays lit.
    highlight(snap_to);
}

void TMainForm::ZoomBoxMouseMove(const ViewMouse& m) {
    // While busy the drawing may be on its way out (an import's questions run
    // their own event loop).
    if (busy_ || !model_->drawing_loaded || !model_->selection) return;
    const Point2D p = view_->ScreenToWorld(m.at);
    if (datum_drag_->active()) {
        datum_drag_->move({p.x, p.y, 0}, m.shift.ctrl ? highlighted_ : nullptr);
        refresh_panels();
        draw_drag_bands();
    }
    if (billet_drag_->active()) {
        billet_drag_->move({p.x, p.y, 0});
        refresh_panels();
        // The rectangle follows the pointer; cycles wait for the release.
        draw_drag_bands();
    }
    // The nearest element lights up under the pointer: all elements on the
    // input tab, the kept copies on the program tab.
    const selection_lists* lists =
        program_tab_active() ? model_->selection.get() : model_->all_elements.get();
    const bool moved_on = hover_.move({p.x, p.y, 0}, lists);
    highlight(hover_.current());
    if (moved_on && !program_tab_active() && highlighted_) select_files_node(highlighted_);
    if (program_tab_active()) pick_hover();
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
    const Point2D p = view_->ScreenToWorld(m.at);
    if (billet_drag_->active()) {
        billet_drag_->commit({p.x, p.y, 0});
        refresh_panels();
        return;
    }
    if (!datum_drag_->active()) return;
    highlighted_ = nullptr;
    hover_.forget();
    datum_drag_->commit({p.x, p.y, 0}, m.shift.ctrl ? DatumSnap::On : DatumSnap::Off);
    refresh_panels();
}

} // namespace zeran
