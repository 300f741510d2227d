// The tool list from the simulator's magazine: a combo on the Tool panel
// when the simulator has tools, the plain tool number otherwise, and the
// Update button that reads the magazine again.
#include "app/main_window.h"
#include "base/ini_document.h"
#include "dialogs/rspin_edit.h"
#include "ncout/tool_library.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>

namespace zeran {

void TMainForm::ReadToolList() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const IniDocument ini = IniDocument::load((config + "/Kelvard/SimvoTurning5.ini").toStdString())
                                .value_or(IniDocument{});
    const SimulatorSetup setup = LocateSimulator(
        ini, QCoreApplication::applicationDirPath().toStdString(), config.toStdString());
    model_->tool_library.clear();
    for (const ToolListEntry& e : ReadToolLibrary(setup)) {
        const ToolSize size = GetToolSize(&e.info);
        model_->tool_library.push_back(
            {e.text, size.width, size.length, e.info.NoseRadius, e.info.NoseOrientation});
    }
    const bool was = refreshing_;
    refreshing_ = true;
    tool_combo_->clear();
    for (const auto& e : model_->tool_library) tool_combo_->addItem(QString::fromStdString(e.text));
    refreshing_ = was;
    const bool listed = !model_->tool_library.empty();
    tool_combo_->setVisible(listed);
    tool_update_->setVisible(!setup.executable.empty());
    tool_number_->setVisible(!listed);
}

void TMainForm::ToolComboChange() {
    if (refreshing_ || model_->busy || !model_->selected.node) return;
    CycleNode& node = *model_->selected.node;
    const int entry = tool_combo_->currentIndex();
    edit("Set Tool", {Change::Cycle, model_->cycle_index(&node)},
         [&node, entry](ProjectModel& model) { model.SetToolFromLibrary(node, entry); });
    refresh_panels();
}

void TMainForm::ToolUpdateBtnClick() {
    const int kept = tool_combo_->currentIndex();
    ReadToolList();
    if (kept < 0 || kept >= tool_combo_->count()) return;
    const bool was = refreshing_;
    refreshing_ = true;
    tool_combo_->setCurrentIndex(kept);
    refreshing_ = was;
    ToolComboChange();
}

} // namespace zeran
