// The cycle list beyond its rows: reordering by drag and drop, the parameter
// hint that follows the pointer over a Parameters node, and the busy box.
#include "app/cycle_list_drag.h"
#include "app/main_window.h"
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "project/post_job.h"
#include "project/project_model.h"
#include "view/busy_box.h"
#include "view/param_hint.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>

namespace zeran {

void TMainForm::install_tree_tools() {
    // The cycle list shows every node at all times; a double click opens a
    // node's dialog instead.
    cycle_list_->setRootIsDecorated(false);
    cycle_list_->setItemsExpandable(false);
    cycle_list_->setExpandsOnDoubleClick(false);
    // Drawing nodes open but never close.
    connect(files_tree_, &QTreeWidget::itemCollapsed, this,
            [](QTreeWidgetItem* item) { item->setExpanded(true); });
    auto* drag = new CycleListDrag(cycle_list_);
    drag->setObjectName("CycleListDrag");
    drag->allowed = [this] { return !busy_ && !dragging_marker(); };
    drag->on_drop = [this](int from, int before) { CycleListDrop(from, before); };
    param_hint_ = new TParamHint(cycle_list_);
    cycle_list_->setMouseTracking(true);
    cycle_list_->viewport()->installEventFilter(this);
    installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive) hide_param_hint();
    });
}

void TMainForm::create_cycles_menu() {
    static const char* const texts[] = {QT_TR_NOOP("Along &X Axis"),   QT_TR_NOOP("Along &Z Axis"),
                                        QT_TR_NOOP("&Pattern Repeat"), QT_TR_NOOP("&Finishing"),
                                        QT_TR_NOOP("&Grooving"),       QT_TR_NOOP("&Threading"),
                                        QT_TR_NOOP("&Drilling"),       QT_TR_NOOP("&Linear")};
    QMenu* roughing = cycles_menu_->addMenu(tr("&Roughing"));
    roughing->setObjectName("MenuRoughing");
    for (std::size_t k = 0; k < cycle_actions_.size(); ++k) {
        cycle_actions_[k]->setText(tr(texts[k]));
        (k < 3 ? roughing : cycles_menu_)->addAction(cycle_actions_[k]);
    }
    // "&Roughing" is usable exactly when one of its kinds is.
    connect(cycles_menu_, &QMenu::aboutToShow, this, [this, roughing] {
        roughing->menuAction()->setEnabled(cycle_actions_[0]->isEnabled() ||
                                           cycle_actions_[1]->isEnabled() ||
                                           cycle_actions_[2]->isEnabled());
    });
}

void TMainForm::CycleListDrop(int from, int before) {
    const int count = static_cast<int>(model_->cycles.size());
    if (from < 1 || from > count || before < 1 || before > count + 1) return;
    CycleNode* node = model_->cycles[std::size_t(from - 1)].get();
    CycleNode* target = before <= count ? model_->cycles[std::size_t(before - 1)].get() : nullptr;
    // Dropped where it is already: nothing moves.
    if (target == node || (from + 1 == before)) return;
    edit("Move Cycle", {Change::CycleList}, [this, node, target](ProjectModel& model) {
        model.DropBefore(*node, target);
        session_->selected = {CyclePart::Cycle, node};
    });
}

// A right press on a checked layer checks the whole drawing again.
void TMainForm::FilesTreeRightPress(const QMouseEvent& e) {
    if (e.button() != Qt::RightButton || busy_) return;
    QTreeWidgetItem* item = files_tree_->itemAt(e.position().toPoint());
    if (!item || !item->parent() || item->parent()->parent()) return;
    if (item->checkState(0) != Qt::Checked) return;
    const int index = item->data(0, Qt::UserRole).toInt();
    forget_drawing_elements();
    edit("Reset Layer", {Change::Document},
         [index](ProjectModel& model) { model.ResetLayerTree(index); });
}

std::string TMainForm::cycle_trouble(const CycleNode& node) const {
    const TCanCycle& cycle = *node.cycle;
    // As posting judges it: a cycle still waiting to generate has no path yet.
    if (!node.checked() || (!cycle.NeedsGenerate && !cycle.Moves.empty())) return {};
    return cycle_reason(cycle, cycle.CanGenerate());
}

void TMainForm::hide_param_hint() {
    if (param_hint_) param_hint_->SetHintWanted(false);
}

void TMainForm::CycleListMouseMove(const QPoint& at) {
    QWidget* area = cycle_list_->viewport();
    QTreeWidgetItem* item = cycle_list_->itemAt(at);
    const int row = item && item->parent() ? cycle_list_->indexOfTopLevelItem(item->parent()) : -1;
    const bool params = row >= 1 && row <= static_cast<int>(model_->cycles.size()) &&
                        item->parent()->indexOfChild(item) == 2;
    const bool inside = area->rect().adjusted(5, 5, -5, -5).contains(at);
    if (!params || !inside || busy_) {
        hide_param_hint();
        return;
    }
    CycleNode& node = *model_->cycles[std::size_t(row - 1)];
    const QRect r = cycle_list_->visualItemRect(item);
    const QPoint under = area->mapToGlobal(QPoint(4, r.bottom()));
    param_hint_->ShowParamHint(under.x(), under.y(), &node.params_node, *node.params, r.width(),
                               cycle_trouble(node));
}

} // namespace zeran
