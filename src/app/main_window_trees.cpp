// The two trees mirrored from the model, and the panel of the selected node.
#include "app/main_window.h"
#include "app/tree_images.h"
#include "base/number_text.h"
#include "base/prompt.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/kind_description.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "dialogs/header_form.h"
#include "dialogs/rspin_edit.h"
#include "ncout/gnc_writer.h"
#include "project/element_lists.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFont>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace zeran {

namespace {

enum Page { kPageNone, kPageHeader, kPageCycle, kPageProfile, kPageTool, kPageParams };

constexpr int kIndexRole = Qt::UserRole;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// No turning insert has a larger nose.
double largest_nose_radius(Units units) {
    return units == Units::Inch ? 0.4 : 10.0;
}

// Days since 30 December 1899 and back.
QDate date_of(double days) {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(days)));
}
double days_of(const QDate& d) {
    return static_cast<double>(QDate(1899, 12, 30).daysTo(d));
}

} // namespace

void TMainForm::create_node_panels() {
    panels_ = new QStackedWidget(tab_program_);
    panels_->setObjectName("NodePanels");
    panels_->addWidget(new QWidget(panels_));

    auto* header = new QWidget(panels_);
    auto* hl = new QVBoxLayout(header);
    header_text_ = new QLabel(header);
    header_text_->setWordWrap(true);
    hl->addWidget(header_text_);
    auto* edit_header = new QPushButton(tr("Parameters..."), header);
    edit_header->setObjectName("BtnHeaderParam");
    connect(edit_header, &QPushButton::clicked, this, [this] { HeaderDialogClick(); });
    hl->addWidget(edit_header);
    auto* billet = new QGroupBox(tr("Billet Definition"), header);
    billet->setObjectName("PanelBillet");
    billet_box_ = billet;
    auto* bf = new QFormLayout(billet);
    billet_l_ = new TRSpinEdit(billet);
    billet_l_->setObjectName("BilletEditL");
    billet_r_ = new TRSpinEdit(billet);
    billet_r_->setObjectName("BilletEditR");
    bf->addRow(tr("Billet length"), with_unit(billet_l_));
    bf->addRow(tr("Billet radius"), with_unit(billet_r_));
    for (TRSpinEdit* e : {billet_l_, billet_r_}) {
        e->setMaxValue(1e6);
        connect(e, &TRSpinEdit::Change, this, [this] { BilletEditChange(); });
    }
    billet_tool_ = make_marker_tool(billet, "BilletCursPaint", CursorKind::Billet,
                                    ":/zeran/BILLET.png", tr("Drag the billet in the view"));
    bf->addRow(billet_tool_);
    hl->addWidget(billet);
    panels_->addWidget(header);

    auto* cycle = new QWidget(panels_);
    auto* cl = new QFormLayout(cycle);
    cycle_text_ = new QLabel(cycle);
    cycle_text_->setObjectName("PanelCycleName");
    QFont bold = cycle_text_->font();
    bold.setBold(true);
    cycle_text_->setFont(bold);
    cycle_text_->setWordWrap(true);
    cl->addRow(cycle_text_);
    comment_edit_ = new QLineEdit(cycle);
    comment_edit_->setObjectName("EditComment");
    comment_edit_->setMaxLength(80);
    connect(comment_edit_, &QLineEdit::editingFinished, this, [this] { CommentEditChange(); });
    cl->addRow(tr("Comment"), comment_edit_);
    panels_->addWidget(cycle);

    auto* profile = new QWidget(panels_);
    create_points_panel(profile);
    panels_->addWidget(profile);

    panels_->addWidget(create_tool_panel());

    auto* params = new QWidget(panels_);
    auto* pf = new QFormLayout(params);
    auto* start = new QGroupBox(tr("Start Point"), params);
    auto* sf = new QFormLayout(start);
    start_x_ = new TRSpinEdit(start);
    start_x_->setObjectName("EditSPX");
    start_z_ = new TRSpinEdit(start);
    start_z_->setObjectName("EditSPZ");
    for (TRSpinEdit* e : {start_x_, start_z_}) {
        e->setMinValue(-1e6);
        e->setMaxValue(1e6);
        connect(e, &TRSpinEdit::Change, this, [this] { StartEditChange(); });
    }
    sf->addRow(tr("Start point X"), with_unit(start_x_));
    sf->addRow(tr("Start point Z"), with_unit(start_z_));
    start_tool_ = make_marker_tool(start, "StartPosPaint", CursorKind::StartPos,
                                   ":/zeran/STARTPOS.png", tr("Place the start point in the view"));
    sf->addRow(start_tool_);
    use_billet_ = new QCheckBox(tr("Use Billet Definition"), start);
    use_billet_->setObjectName("UseBilletStartPoint");
    connect(use_billet_, &QCheckBox::clicked, this, [this](bool on) { UseBilletClick(on); });
    sf->addRow(use_billet_);
    pf->addRow(start);
    auto* param_button = new QPushButton(tr("Parameters..."), params);
    param_button->setObjectName("ButtonParam");
    connect(param_button, &QPushButton::clicked, this, [this] { CycleParamsClick(); });
    pf->addRow(param_button);
    params_text_ = new QLabel(params);
    params_text_->setObjectName("ParamsStatus");
    params_text_->setWordWrap(true);
    pf->addRow(params_text_);
    panels_->addWidget(params);
}

void TMainForm::RebuildFilesTree() {
    refreshing_ = true;
    const QSignalBlocker quiet(files_tree_);
    files_tree_->clear();
    const std::vector<DrawingNode*> nodes = tree_nodes(model_->tree);
    std::vector<QTreeWidgetItem*> parents;
    for (std::size_t i = 0; i < nodes.size() && model_->tree.filled; ++i) {
        const DrawingNode& n = *nodes[i];
        while (static_cast<int>(parents.size()) > n.level) parents.pop_back();
        auto* item = parents.empty() ? new QTreeWidgetItem(files_tree_)
                                     : new QTreeWidgetItem(parents.back());
        item->setText(0, q(n.caption));
        item->setData(0, kIndexRole, static_cast<int>(i));
        if (n.level > 0) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, n.state_index == kStateChecked ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
        }
        parents.push_back(item);
    }
    // Layers open, element groups closed: the groups can hold thousands.
    if (QTreeWidgetItem* root = files_tree_->topLevelItem(0)) {
        root->setExpanded(true);
        for (int i = 0; i < root->childCount(); ++i) root->child(i)->setExpanded(true);
    }
    refreshing_ = false;
}

void TMainForm::FilesTreeItemChanged(QTreeWidgetItem* item) {
    if (refreshing_ || busy_ || !item) return;
    const int index = item->data(0, kIndexRole).toInt();
    const bool checked = item->checkState(0) == Qt::Checked;
    edit(checked ? "Check Drawing Node" : "Uncheck Drawing Node", {Change::Drawing},
         [index](ProjectModel& model) { model.ToggleTreeNode(index); });
}

// The check boxes brought over from the model in place (a tree item may be
// inside its own signal).
void TMainForm::sync_files_tree() {
    refreshing_ = true;
    const std::vector<DrawingNode*> nodes = tree_nodes(model_->tree);
    for (QTreeWidgetItemIterator it(files_tree_); *it; ++it) {
        const int index = (*it)->data(0, kIndexRole).toInt();
        if (index <= 0 || index >= static_cast<int>(nodes.size())) continue;
        const bool checked = nodes[std::size_t(index)]->state_index == kStateChecked;
        (*it)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
    refreshing_ = false;
}

void TMainForm::refresh_cycle_item(QTreeWidgetItem* item, int row) {
    const int count = static_cast<int>(model_->cycles.size());
    auto set = [item](const std::string& caption, int image, int state) {
        item->setText(0, q(caption));
        item->setIcon(0, node_icon(image));
        item->setData(0, kIndexRole, state);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, state == kStateChecked ? Qt::Checked : Qt::Unchecked);
    };
    if (row == 0) {
        set(model_->header.caption, kHeaderImage, model_->header.state_index);
    } else if (row == count + 1) {
        set(model_->footer.caption, kFooterImage, model_->footer.state_index);
    } else {
        CycleNode& node = *model_->cycles[std::size_t(row - 1)];
        set(node.caption, cycle_kind_number(node.kind()), node.state_index);
        const ChildNode* children[] = {&node.profile_node, &node.tool_node, &node.params_node};
        const int images[] = {kProfileImage, kToolImage, kParametersImage};
        for (int c = 0; c < 3; ++c) {
            QTreeWidgetItem* child =
                item->childCount() > c ? item->child(c) : new QTreeWidgetItem(item);
            child->setText(0, q(children[c]->caption));
            child->setIcon(0, node_icon(images[c], children[c]->state_index));
            child->setData(0, kIndexRole, children[c]->state_index);
        }
    }
}

void TMainForm::RebuildCycleList() {
    refreshing_ = true;
    const QSignalBlocker quiet(cycle_list_);
    cycle_list_->clear();
    const int rows = static_cast<int>(model_->cycles.size()) + 2;
    for (int row = 0; row < rows; ++row) {
        auto* item = new QTreeWidgetItem(cycle_list_);
        refresh_cycle_item(item, row);
        item->setExpanded(true);
    }
    // The model's selection, mirrored.
    const CycleSelection& sel = session_->selected;
    QTreeWidgetItem* current = nullptr;
    switch (sel.part) {
    case CyclePart::None:
        break;
    case CyclePart::Header:
        current = cycle_list_->topLevelItem(0);
        break;
    case CyclePart::Footer:
        current = cycle_list_->topLevelItem(rows - 1);
        break;
    case CyclePart::Cycle:
    case CyclePart::Profile:
    case CyclePart::Tool:
    case CyclePart::Parameters: {
        const int index = model_->cycle_index(sel.node);
        if (index < 0) break;
        current = cycle_list_->topLevelItem(index + 1);
        if (sel.part == CyclePart::Profile) current = current->child(0);
        if (sel.part == CyclePart::Tool) current = current->child(1);
        if (sel.part == CyclePart::Parameters) current = current->child(2);
        break;
    }
    }
    if (current) cycle_list_->setCurrentItem(current);
    refreshing_ = false;
    refresh_panels();
}

void TMainForm::CycleListItemChanged(QTreeWidgetItem* item) {
    if (refreshing_ || !item || item->parent()) return;
    const int row = cycle_list_->indexOfTopLevelItem(item);
    const int state = item->checkState(0) == Qt::Checked ? kStateChecked : kStateUnchecked;
    const int count = static_cast<int>(model_->cycles.size());
    if (row == 0) {
        model_->header.state_index = state;
    } else if (row == count + 1) {
        model_->footer.state_index = state;
    } else if (row > 0) {
        model_->cycles[std::size_t(row - 1)]->state_index = state;
    }
    session_->commit(state == kStateChecked ? "Enable Cycle" : "Disable Cycle",
                     {Change::Cycle, row - 1});
}

void TMainForm::SelectCycleRow(int top_level_row, int child) {
    QTreeWidgetItem* item = cycle_list_->topLevelItem(top_level_row);
    if (item && child >= 0) item = item->child(child);
    if (item) cycle_list_->setCurrentItem(item);
}

void TMainForm::CycleListChange() {
    if (refreshing_) return;
    QTreeWidgetItem* item = cycle_list_->currentItem();
    CycleSelection sel;
    if (item) {
        QTreeWidgetItem* top = item->parent() ? item->parent() : item;
        const int row = cycle_list_->indexOfTopLevelItem(top);
        const int count = static_cast<int>(model_->cycles.size());
        if (row == 0) {
            sel.part = CyclePart::Header;
        } else if (row == count + 1) {
            sel.part = CyclePart::Footer;
        } else if (row > 0) {
            sel.node = model_->cycles[std::size_t(row - 1)].get();
            const int child = item->parent() ? item->parent()->indexOfChild(item) : -1;
            sel.part = child == 0   ? CyclePart::Profile
                       : child == 1 ? CyclePart::Tool
                       : child == 2 ? CyclePart::Parameters
                                    : CyclePart::Cycle;
        }
    }
    session_->selected = sel;
    if (sel.part != CyclePart::Parameters) hide_param_hint();
    release_marker_tools(nullptr);
    static const int contexts[] = {44, 50, 52, 54, 55, 56, 44};
    view_->setHelpContext(37);
    cycle_list_->setProperty("helpContext", contexts[static_cast<int>(sel.part)]);
    refresh_panels();
    update_pick_cursor();
    update_edit_commands();
    view_->Repaint();
}

void TMainForm::refresh_panels() {
    if (!panels_) return;
    refreshing_ = true;
    const CycleSelection& sel = session_->selected;
    const Units units = model_->units;
    const double increment = units == Units::Inch ? 0.0625 : 1.0;
    for (TRSpinEdit* e : {datum_x_, datum_y_, billet_l_, billet_r_, start_x_, start_z_})
        e->setIncrement(increment);
    // The datum is shown as exactly as the paths use it.
    for (TRSpinEdit* e : {datum_x_, datum_y_}) e->setDecimals(units == Units::Inch ? 4 : 3);
    datum_x_->setValue(model_->datum_edit_x);
    datum_y_->setValue(model_->datum_edit_y);
    refresh_unit_labels();
    material_label_->setText(model_->material_name.empty()
                                 ? QString()
                                 : "  " + tr("Material Type") + " : " + q(model_->material_name));
    switch (sel.part) {
    case CyclePart::None:
    case CyclePart::Footer:
        panels_->setCurrentIndex(kPageNone);
        break;
    case CyclePart::Header: {
        const THeader& h = *model_->header.header;
        header_text_->setText(
            tr("Project: %1\nAuthor: %2\nDate: %3\nUnits: %4")
                .arg(q(h.ProjectName),
                     q(h.Author.empty() ? model_->settings.default_author : h.Author),
                     QLocale().toString(date_of(h.Date), QLocale::LongFormat),
                     h.Units == 1 ? tr("Inch") : tr("Metric")));
        billet_l_->setValue(model_->billet_edit_l);
        billet_r_->setValue(model_->billet_edit_r);
        billet_box_->setEnabled(model_->datum_set);
        panels_->setCurrentIndex(kPageHeader);
        break;
    }
    case CyclePart::Cycle: {
        const CycleNode& n = *sel.node;
        cycle_text_->setText(q(std::string(cycle_short_name(n.kind()))));
        comment_edit_->setText(q(n.cycle->Comment));
        panels_->setCurrentIndex(kPageCycle);
        break;
    }
    case CyclePart::Profile:
        refresh_points_panel();
        panels_->setCurrentIndex(kPageProfile);
        break;
    case CyclePart::Tool:
        show_tool(sel.node->tool->ToolNumber, sel.node->tool->ToolWidth,
                  sel.node->tool->ToolLength);
        nose_radius_->setMaxValue(largest_nose_radius(units));
        nose_radius_->setDecimals(units == Units::Inch ? 4 : 3);
        nose_radius_->setIncrement(units == Units::Inch ? 0.004 : 0.1);
        nose_radius_->setValue(sel.node->tool->NoseRadius);
        nose_unit_->setText(units == Units::Inch ? tr("inch") : tr("mm"));
        nose_orientation_->setCurrentIndex(std::clamp(sel.node->tool->NoseOrientation, 0, 9));
        panels_->setCurrentIndex(kPageTool);
        break;
    case CyclePart::Parameters: {
        const TParamControls& p = *sel.node->params;
        start_x_->setValue(is_not_set(p.StartX) ? 0 : p.StartX);
        start_z_->setValue(is_not_set(p.StartZ) ? 0 : p.StartZ);
        use_billet_->setChecked(p.UseBillet);
        // A start point that follows the billet is not placed by hand.
        for (QWidget* w : std::initializer_list<QWidget*>{start_x_, start_z_, start_tool_})
            w->setEnabled(!p.UseBillet);
        refresh_params_status();
        panels_->setCurrentIndex(kPageParams);
        break;
    }
    }
    refreshing_ = false;
}

void TMainForm::refresh_params_status() {
    const CycleSelection& sel = session_->selected;
    if (sel.part != CyclePart::Parameters || !sel.node) return;
    params_text_->setText(sel.node->params->Valid ? tr("Parameters complete")
                                                  : tr("Parameters or start point not complete"));
}

void TMainForm::DatumEditChange() {
    if (refreshing_ || busy_ || !model_->drawing_loaded) return;
    // A half-typed number would move every path (a cleared edit reads as
    // its minimum): wait for the value.
    if (!datum_x_->HasValue() || !datum_y_->HasValue()) return;
    const double x = datum_x_->Value();
    const double y = datum_y_->Value();
    edit("Set Datum", {Change::DatumBillet, -1, true},
         [x, y](ProjectModel& model) { model.SetDatumFromEdits(x, y); });
}

void TMainForm::BilletEditChange() {
    if (refreshing_ || busy_) return;
    if (!billet_l_->HasValue() || !billet_r_->HasValue()) return;
    const double length = billet_l_->Value();
    const double radius = billet_r_->Value();
    edit("Set Billet", {Change::DatumBillet, -1, true},
         [length, radius](ProjectModel& model) { model.SetBillet(length, radius); });
}

void TMainForm::StartEditChange() {
    if (refreshing_ || busy_ || !session_->selected.node) return;
    if (!start_x_->HasValue() || !start_z_->HasValue()) return;
    CycleNode& node = *session_->selected.node;
    const double x = start_x_->Value();
    const double z = start_z_->Value();
    edit("Set Start Point", {Change::Cycle, model_->cycle_index(&node), true},
         [&node, x, z](ProjectModel& model) { model.SetStartPoint(node, x, z); });
}

void TMainForm::UseBilletClick(bool use_billet) {
    if (refreshing_ || busy_ || session_->selected.part != CyclePart::Parameters) return;
    CycleNode& node = *session_->selected.node;
    if (use_billet) start_tool_->setChecked(false);
    edit(use_billet ? "Use Billet Definition" : "Start Point by Hand",
         {Change::Cycle, model_->cycle_index(&node)},
         [&node, use_billet](ProjectModel& model) { model.ApplyUseBillet(node, use_billet); });
    refresh_panels();
}

void TMainForm::CommentEditChange() {
    if (refreshing_ || busy_ || !session_->selected.node) return;
    CycleNode& node = *session_->selected.node;
    if (comment_edit_->text().toStdString() == node.cycle->Comment) return;
    const std::string comment = comment_edit_->text().toStdString();
    edit("Set Comment", {Change::Cycle, model_->cycle_index(&node), true},
         [&node, comment](ProjectModel& model) { model.SetComment(node, comment); });
}

// Both nose fields in one step each; a radius typed beyond the largest
// insert is held to it.
void TMainForm::NoseEditChange() {
    if (refreshing_ || busy_ || !session_->selected.node) return;
    CycleNode& node = *session_->selected.node;
    const double radius =
        std::clamp(nose_radius_->Value(), 0.0, largest_nose_radius(model_->units));
    const int orientation = nose_orientation_->currentIndex();
    const bool radius_changed = radius != node.tool->NoseRadius;
    if (!radius_changed && orientation == node.tool->NoseOrientation) return;
    edit(radius_changed ? "Set Nose Radius" : "Set Tip Orientation",
         {Change::Cycle, model_->cycle_index(&node), radius_changed},
         [&node, radius, orientation](ProjectModel& model) {
             node.tool->NoseRadius = radius;
             node.tool->NoseOrientation = orientation;
             model.MarkCycleChanged(&node);
         });
}

void TMainForm::MenuAddCycleClick(CycleKind kind) {
    if (!model_->datum_set) return;
    edit("Add " + std::string(cycle_long_name(kind)), {Change::CycleList},
         [this, kind](ProjectModel& model) {
             session_->selected = {CyclePart::Cycle, &model.AddCycle(kind)};
         });
}

void TMainForm::HeaderDialogClick() {
    THeader& h = *model_->header.header;
    header_form_->SetAuthor(q(h.Author));
    header_form_->SetDate(date_of(h.Date));
    header_form_->SetUnits(h.Units == 1 ? Units::Inch : Units::Metric);
    if (!run_header_form(*header_form_)) return;
    const std::string author = header_form_->Author().toStdString();
    const double date = days_of(header_form_->Date());
    const Units u = header_form_->units();
    edit("Edit Header", {Change::Header}, [&](ProjectModel& model) {
        THeader& header = *model.header.header;
        header.Author = author;
        header.Date = date;
        header.Units = u == Units::Inch ? 1 : 0;
        if (u != model.units) model.SetUnits(u, UnitsQuestion::Ask);
    });
}

void TMainForm::MenuSelectMaterialClick() {
    bool chosen = false;
    edit("Select Material", {Change::CycleList},
         [&chosen](ProjectModel& model) { chosen = model.SelectMaterial(); });
    if (chosen) return;
    if (!model_->settings.choose_material)
        prompt_->tell(
            MessageKind::Information,
            tr("No material file is available: %1").arg(q(model_->material_file)).toStdString());
}

} // namespace zeran
