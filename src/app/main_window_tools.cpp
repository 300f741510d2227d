// The Tool panel: the tool number (a combo of the simulator's magazine when
// it has tools, the plain number otherwise), the Update button that reads the
// magazine again, and the tool's width and length.
#include "app/main_window.h"
#include "base/ini_document.h"
#include "dialogs/real_edit.h"
#include "dialogs/rspin_edit.h"
#include "ncout/tool_library.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTreeWidget>

namespace zeran {

namespace {

// The nose radius with its unit, and the tip's orientation (0: the one the
// cycle's side implies).
void add_nose_rows(QWidget* tool, QFormLayout* layout, TRSpinEdit*& radius, QLabel*& unit,
                   QComboBox*& orientation) {
    radius = new TRSpinEdit(tool);
    radius->setObjectName("NoseRadius");
    radius->setMinValue(0);
    unit = new QLabel(tool);
    unit->setObjectName("NoseRadiusUnit");
    auto* row = new QHBoxLayout;
    row->addWidget(radius);
    row->addWidget(unit, 1);
    layout->addRow(QObject::tr("Nose radius"), row);
    orientation = new QComboBox(tool);
    orientation->setObjectName("NoseOrientation");
    orientation->addItem(QObject::tr("From the cycle's side"));
    for (int i = 1; i <= 9; ++i) orientation->addItem(QString::number(i));
    layout->addRow(QObject::tr("Tip orientation"), orientation);
}

} // namespace

QWidget* TMainForm::create_tool_panel() {
    auto* tool = new QWidget(panels_);
    tool->setObjectName("PanelTool");
    auto* tl = new QFormLayout(tool);
    tool_number_ = new TRSpinEdit(tool);
    tool_number_->setObjectName("ToolNumbEdit");
    tool_number_->setMinValue(1);
    tool_number_->setMaxValue(32);
    connect(tool_number_, &TRSpinEdit::Change, this, [this] { ToolEditChange(); });
    tool_combo_ = new QComboBox(tool);
    tool_combo_->setObjectName("ToolCombo");
    tool_combo_->setVisible(false);
    connect(tool_combo_, &QComboBox::currentIndexChanged, this, [this] { ToolComboChange(); });
    tool_update_ = new QPushButton(tr("Update"), tool);
    tool_update_->setObjectName("ToolUpdateBtn");
    tool_update_->setToolTip(tr("Update tool information from Simvo Turning"));
    tool_update_->setVisible(false);
    connect(tool_update_, &QPushButton::clicked, this, [this] { ToolUpdateBtnClick(); });
    tool_text_ = new QLabel(tr("Tool Number"), tool);
    tool_text_->setObjectName("ToolNumberLabel");
    tl->addRow(tool_text_);
    auto* tool_row = new QHBoxLayout;
    tool_row->addWidget(tool_number_);
    tool_row->addWidget(tool_combo_, 1);
    tool_row->addWidget(tool_update_);
    tl->addRow(tool_row);
    // Width and length, each with its unit label.
    const std::pair<TRealEdit**, const char*> sizes[] = {{&tool_width_, "EditToolWidth"},
                                                         {&tool_length_, "EditToolLength"}};
    const char* captions[] = {QT_TR_NOOP("Tool width"), QT_TR_NOOP("Tool length")};
    for (int i = 0; i < 2; ++i) {
        auto* e = new TRealEdit(tool);
        e->setObjectName(sizes[i].second);
        e->setPosOnly(true);
        *sizes[i].first = e;
        connect(e, &TRealEdit::Change, this, [this] { ToolSizeChange(); });
        tl->addRow(tr(captions[i]), with_unit(e));
    }
    add_nose_rows(tool, tl, nose_radius_, nose_unit_, nose_orientation_);
    connect(nose_radius_, &TRSpinEdit::Change, this, [this] { NoseEditChange(); });
    connect(nose_orientation_, &QComboBox::currentIndexChanged, this, [this] { NoseEditChange(); });
    return tool;
}

QLayout* TMainForm::with_unit(QWidget* edit) {
    auto* unit = new QLabel(edit->parentWidget());
    unit->setObjectName(edit->objectName() + "Unit");
    unit_labels_.push_back(unit);
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(unit);
    return row;
}

void TMainForm::refresh_unit_labels() {
    const QString unit = model_->units == Units::Inch ? tr("inch") : tr("mm");
    for (QLabel* label : unit_labels_) label->setText(unit);
}

// The panel shows the library's entry when there is one, else the number.
void TMainForm::show_tool(int number, double width, double length) {
    const bool listed = !model_->settings.tool_library.empty();
    tool_text_->setText(listed ? tr("Tool Number (Simvo Turning)") : tr("Tool Number"));
    tool_number_->setValue(number);
    if (listed && number >= 1 && number <= tool_combo_->count())
        tool_combo_->setCurrentIndex(number - 1);
    tool_width_->setValueR(width);
    tool_length_->setValueR(length);
}

void TMainForm::ToolEditChange() {
    if (refreshing_ || busy_ || session_->selected.part != CyclePart::Tool) return;
    CycleNode& node = *session_->selected.node;
    const int number = static_cast<int>(tool_number_->Value());
    edit("Set Tool", {Change::Cycle, model_->cycle_index(&node), true},
         [&node, number](ProjectModel& model) { model.SetToolNumber(node, number); });
}

void TMainForm::ToolSizeChange() {
    if (refreshing_ || busy_ || session_->selected.part != CyclePart::Tool) return;
    CycleNode& node = *session_->selected.node;
    const double width = tool_width_->ValueR();
    const double length = tool_length_->ValueR();
    edit("Set Tool Size", {Change::Cycle, model_->cycle_index(&node), true},
         [&node, width, length](ProjectModel& model) { model.SetToolSize(node, width, length); });
}

void TMainForm::ReadToolList() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const IniDocument ini = IniDocument::load((config + "/Kelvard/SimvoTurning5.ini").toStdString())
                                .value_or(IniDocument{});
    const SimulatorSetup setup = LocateSimulator(
        ini, QCoreApplication::applicationDirPath().toStdString(), config.toStdString());
    model_->settings.tool_library.clear();
    for (const ToolListEntry& e : ReadToolLibrary(setup)) {
        const ToolSize size = GetToolSize(&e.info);
        model_->settings.tool_library.push_back(
            {e.text, size.width, size.length, e.info.NoseRadius, e.info.NoseOrientation});
    }
    const bool was = refreshing_;
    refreshing_ = true;
    tool_combo_->clear();
    for (const auto& e : model_->settings.tool_library)
        tool_combo_->addItem(QString::fromStdString(e.text));
    refreshing_ = was;
    const bool listed = !model_->settings.tool_library.empty();
    tool_combo_->setVisible(listed);
    // Update reads the library again: it belongs to the combo.
    tool_update_->setVisible(listed);
    tool_number_->setVisible(!listed);
}

void TMainForm::ToolComboChange() {
    if (refreshing_ || busy_ || session_->selected.part != CyclePart::Tool) return;
    CycleNode& node = *session_->selected.node;
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
