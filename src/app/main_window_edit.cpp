// Edits of the project as undoable steps, and the window's answer to the
// session's change notification.
#include "app/busy_prompt.h"
#include "app/main_window.h"
#include "dialogs/param_form.h"
#include "dialogs/rspin_edit.h"
#include "project/datum_drag_tool.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace zeran {

namespace {
// From this many cycles on, an edit shows the busy box while they generate.
constexpr std::size_t kManyCycles = 8;
} // namespace

bool TMainForm::edit(const std::string& label, ChangeNote note,
                     const std::function<void(ProjectModel&)>& edit) {
    // An edit regenerates the cycles it touches; with many of them that
    // takes a while. Typing stays quiet.
    std::unique_ptr<BusyScope> busy;
    if (!note.typing && model_->cycles.size() >= kManyCycles)
        busy = std::make_unique<BusyScope>(*busy_box_, view_, tr("Generating cycles..."));
    return session_->apply(label, note, edit);
}

void TMainForm::on_project_change(const ChangeNote& note) {
    if (destroyed_) return;
    // The hint shows values that may have changed.
    hide_param_hint();
    const bool was = refreshing_;
    refreshing_ = true;
    switch (note.what) {
    case Change::Document:
        // Undo and redo put new element lists in place: nothing may point into the old ones.
        forget_drawing_elements();
        RebuildFilesTree();
        RebuildCycleList();
        break;
    case Change::Drawing:
        sync_files_tree();
        break;
    case Change::CycleList:
        RebuildCycleList();
        break;
    case Change::Cycle: {
        const int row = note.cycle + 1;
        const QSignalBlocker quiet(cycle_list_);
        if (QTreeWidgetItem* item = cycle_list_->topLevelItem(row); item && note.cycle >= 0)
            refresh_cycle_item(item, row);
        // Typing a start point completes the cycle: its status line follows.
        refresh_params_status();
        break;
    }
    case Change::DatumBillet:
    case Change::Header:
        break;
    }
    // The audit reads the document only: it runs after it changed, not per paint.
    audit_paths();
    refreshing_ = was;
    view_->Datum = model_->datum_set ? Point2D{model_->datum_edit_y, model_->datum_edit_x}
                                     : Point2D{kNotSet, kNotSet};
    // Edits typed into the panels are not written back while the user types.
    if (note.what == Change::Document || note.what == Change::Header) refresh_panels();
    EnableCommands(model_->drawing_loaded);
    update_edit_commands();
    view_->Repaint();
}

void TMainForm::update_edit_commands() {
    const History& history = session_->history();
    QAction* undo = action("MenuUndo");
    QAction* redo = action("MenuRedo");
    undo->setEnabled(history.can_undo());
    redo->setEnabled(history.can_redo());
    undo->setText(history.can_undo()
                      ? tr("&Undo %1").arg(QString::fromStdString(history.undo_label()))
                      : tr("&Undo"));
    redo->setText(history.can_redo()
                      ? tr("&Redo %1").arg(QString::fromStdString(history.redo_label()))
                      : tr("&Redo"));
    CycleNode* node = session_->selected.node;
    const bool cycle = node && model_->cycle_index(node) >= 0 && program_tab_active();
    action("MenuDeleteCycle")->setEnabled(cycle);
    action("MenuMoveCycleUp")->setEnabled(cycle && model_->CanMoveUp(*node));
    action("MenuMoveCycleDown")->setEnabled(cycle && model_->CanMoveDown(*node));
    action("MenuCycleParams")->setEnabled(cycle);
}

void TMainForm::UndoClick() {
    if (busy_ || dragging_marker()) return;
    session_->undo();
}

void TMainForm::RedoClick() {
    if (busy_ || dragging_marker()) return;
    session_->redo();
}

void TMainForm::DeleteCycleClick() {
    CycleNode* node = session_->selected.node;
    if (busy_ || !node || model_->cycle_index(node) < 0) return;
    edit("Delete Cycle", {Change::CycleList}, [this, node](ProjectModel& model) {
        model.DeleteCycle(*node);
        session_->selected = {CyclePart::Header, nullptr};
    });
}

void TMainForm::MoveCycleClick(int direction) {
    CycleNode* node = session_->selected.node;
    if (busy_ || !node || model_->cycle_index(node) < 0) return;
    if (direction < 0 && model_->CanMoveUp(*node))
        edit("Move Cycle Up", {Change::CycleList},
             [node](ProjectModel& model) { model.MoveUp(*node); });
    else if (direction > 0 && model_->CanMoveDown(*node))
        edit("Move Cycle Down", {Change::CycleList},
             [node](ProjectModel& model) { model.MoveDown(*node); });
}

void TMainForm::CycleParamsClick() {
    CycleNode* node = session_->selected.node;
    if (busy_ || !node || model_->cycle_index(node) < 0) return;
    hide_param_hint();
    TParamForm form(*node->params, model_->units, this);
    if (!form.Execute()) return;
    // The dialog runs its own event loop: the cycle may have gone meanwhile.
    const int index = model_->cycle_index(node);
    if (index < 0) return;
    const TParamControls values = form.Values();
    edit("Change Parameters", {Change::Cycle, index},
         [node, &values](ProjectModel& model) { model.SetParameters(*node, values); });
    refresh_panels();
}

void TMainForm::CycleListDblClick(QTreeWidgetItem* item) {
    if (!item) return;
    if (session_->selected.part == CyclePart::Parameters && item->parent())
        CycleParamsClick();
    else if (session_->selected.part == CyclePart::Header && !item->parent())
        HeaderDialogClick();
}

QMenu* TMainForm::CyclePopupFor(QTreeWidgetItem* item) {
    if (!item || busy_) return nullptr;
    QTreeWidgetItem* top = item->parent() ? item->parent() : item;
    const int row = cycle_list_->indexOfTopLevelItem(top);
    if (row <= 0 || row > static_cast<int>(model_->cycles.size())) return nullptr;
    cycle_list_->setCurrentItem(item);
    update_edit_commands();
    if (!cycle_popup_) {
        cycle_popup_ = new QMenu(cycle_list_);
        cycle_popup_->setObjectName("CyclePopup");
        const std::pair<const char*, const char*> items[] = {
            {"MenuDeleteCycle", QT_TR_NOOP("&Delete")},
            {"MenuMoveCycleUp", QT_TR_NOOP("Move &up")},
            {"MenuMoveCycleDown", QT_TR_NOOP("Move &down")},
            {"MenuCycleParams", QT_TR_NOOP("&Parameters...")},
        };
        for (const auto& [id, text] : items) {
            QAction* command = action(id);
            QAction* entry = cycle_popup_->addAction(tr(text));
            entry->setObjectName(QString("Popup") + id);
            connect(entry, &QAction::triggered, command, &QAction::trigger);
        }
    }
    for (QAction* entry : cycle_popup_->actions())
        entry->setEnabled(action(entry->objectName().mid(5))->isEnabled());
    return cycle_popup_;
}

} // namespace zeran
