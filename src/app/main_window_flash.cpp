// The elements of a pressed drawing-tree node flash in red and their own
// colour until the mouse is released.
#include "app/main_window.h"

#include "geometry/drawing_tree.h"
#include "geometry/dxf_layer.h"
#include "geometry/entity_list.h"
#include "project/element_lists.h"
#include "project/project_model.h"
#include "view/qt_canvas.h"
#include "view/zoom_panel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace zeran {

namespace {

constexpr Colour kFlashRed = 0x0000FF;

void add_list(const Entity_List& list, std::vector<const DXF_Entity*>& out) {
    for (const DXF_Entity* e : list.entities()) out.push_back(e);
}

} // namespace

bool TMainForm::flashing() const {
    return flasher_ && flasher_->isActive();
}

void TMainForm::start_flash(QTreeWidgetItem* item) {
    if (!item || busy_ || !model_->tree.filled) return;
    const int index = item->data(0, Qt::UserRole).toInt();
    const std::vector<DrawingNode*> nodes = tree_nodes(model_->tree);
    if (index <= 0 || index >= static_cast<int>(nodes.size())) return;
    const DrawingNode& node = *nodes[std::size_t(index)];
    highlight(nullptr);
    flash_list_.clear();
    if (node.layer) {
        for (const auto& list : node.layer->entity_lists()) add_list(*list, flash_list_);
    } else if (node.list) {
        add_list(*node.list, flash_list_);
    } else if (node.entity) {
        flash_list_.push_back(node.entity);
    }
    flash_phase_ = 1;
    flasher_->start();
}

void TMainForm::stop_flash() {
    if (!flasher_) return;
    flasher_->stop();
    if (flash_list_.empty()) return;
    flash_list_.clear();
    // The markers and paths the flashing left out come back.
    view_->Compose();
}

void TMainForm::FlasherTimer() {
    // Marks drawn straight on the screen are wiped first.
    view_->ShowDrawing();
    if (!flash_list_.empty()) {
        ScreenMapper map{view_};
        QtCanvas& screen = view_->ScreenCanvas();
        for (const DXF_Entity* e : flash_list_) {
            if (flash_phase_ == 1) {
                // Drawn in red, then given back its colour number and colour.
                auto* shown = const_cast<DXF_Entity*>(e);
                const Colour own = shown->colour();
                const int own_index = shown->colour_index();
                shown->set_colour(kFlashRed);
                shown->draw(screen, nullptr, map);
                shown->set_colour_index(own_index);
                if (shown->colour() != own) shown->set_colour(own);
            } else {
                e->draw(screen, nullptr, map);
            }
        }
        view_->ShowScreen();
    }
    flash_phase_ = 1 - flash_phase_;
    flasher_->start();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (files_tree_ && watched == files_tree_->viewport() &&
        event->type() == QEvent::MouseButtonRelease)
        stop_flash();
    if (points_list_event(watched, event)) return true;
    // A moved or resized window leaves the hint behind: it goes.
    if (watched == this && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        hide_param_hint();
    if (cycle_list_ && watched == cycle_list_->viewport()) {
        if (event->type() == QEvent::MouseMove)
            CycleListMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave)
            hide_param_hint();
    }
    if (files_tree_ && watched == files_tree_->viewport() &&
        event->type() == QEvent::MouseButtonPress)
        FilesTreeRightPress(*static_cast<QMouseEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zeran
