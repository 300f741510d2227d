#include "dialogs/material_form.h"

#include "base/number_text.h"
#include "base/prompt.h"
#include "base/text_util.h"
#include "cycles/cycle_params.h"
#include "dialogs/real_edit.h"
#include "ncout/material_db.h"
#include "view/help_link.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace zeran {

namespace {

// The standard row a key stands for, by name without regard to case.
const ParamDescription* standard_row(const std::string& key) {
    for (const ParamDescription& row : param_descriptions())
        if (iequals(row.name, key)) return &row;
    return nullptr;
}

// A key matching no standard name is edited as the units choice.
ParamField key_field(const std::string& key) {
    const ParamDescription* row = standard_row(key);
    return row ? row->field : ParamField::Units;
}

int int_or(const std::string& text, int fallback) {
    const auto n = parse_real(text, '.');
    const auto m = n ? n : parse_real(text, ',');
    if (!m || !std::isfinite(*m) || std::fabs(*m) > 2e9) return fallback;
    return static_cast<int>(std::lround(*m));
}

} // namespace

TMaterialForm::TMaterialForm(Prompt& prompt, QWidget* parent) : QDialog(parent), prompt_(prompt) {
    setObjectName("MaterialForm");
    setWindowTitle(tr("Material Selection"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // A plain open dialog unless the owner offers its own.
    choose_file = [this](const QString& folder, const QString& name) {
        return QFileDialog::getOpenFileName(this, tr("Select Material File"),
                                            folder + QLatin1Char('/') + name,
                                            tr("Material files (*.tmf *.TMF)"));
    };

    file_panel_ = new QLabel(this);
    file_panel_->setObjectName("FilePanel");
    file_panel_->setFrameShape(QFrame::StyledPanel);
    auto* load = new QPushButton(QString::fromUtf8("\u00b7\u00b7\u00b7"), this);
    load->setObjectName("BtnLoad");
    load->setToolTip(tr("Choose another material file"));
    load->setFixedWidth(32);
    auto* file_row = new QHBoxLayout;
    file_row->addWidget(file_panel_, 1);
    file_row->addWidget(load);

    material_label_ = new QLabel(this);
    material_label_->setObjectName("MaterialLabel");
    materials_ = new QListWidget(this);
    materials_->setObjectName("MaterialList");
    materials_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    materials_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* add = new QPushButton(tr("Add"), this);
    add->setObjectName("BtnAdd");
    auto* del = new QPushButton(tr("Delete"), this);
    del->setObjectName("BtnDelete");
    auto* edit = new QPushButton(tr("Edit") + " >>", this);
    edit->setObjectName("BtnEdit");
    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(del);
    side->addWidget(edit);
    side->addStretch();
    auto* list_row = new QHBoxLayout;
    list_row->addWidget(materials_, 1);
    list_row->addLayout(side);

    params_ = new QListWidget;
    params_->setObjectName("ParamList");
    cycle_panel_ = new QWidget;
    cycle_panel_->setObjectName("CyclePanel");
    param_edit_ = new TRealEdit(cycle_panel_);
    param_edit_->setObjectName("ParamEdit");
    param_edit_->setMetric(false);
    units_edit_ = new QComboBox(cycle_panel_);
    units_edit_->setObjectName("UnitsEdit");
    units_edit_->addItems({tr("Metric"), tr("Inch")});
    units_edit_->installEventFilter(this);
    materials_->viewport()->installEventFilter(this);
    unit_label_ = new QLabel(cycle_panel_);
    unit_label_->setObjectName("UnitLabel");
    param_label_ = new QLabel(cycle_panel_);
    param_label_->setObjectName("ParamLabel");
    param_label_->setWordWrap(true);
    param_label_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* editor_row = new QHBoxLayout;
    editor_row->addWidget(param_edit_, 1);
    editor_row->addWidget(units_edit_, 1);
    editor_row->addWidget(unit_label_);
    auto* panel = new QVBoxLayout(cycle_panel_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(editor_row);
    panel->addWidget(param_label_, 1);
    edit_area_ = new QWidget(this);
    auto* edit_row = new QHBoxLayout(edit_area_);
    edit_row->setContentsMargins(0, 0, 0, 0);
    edit_row->addWidget(params_, 1);
    edit_row->addWidget(cycle_panel_, 1);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName("BtnOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("BtnCancel");
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName("HelpBtn");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file_row);
    layout->addWidget(material_label_);
    layout->addLayout(list_row, 1);
    layout->addWidget(edit_area_, 1);
    layout->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    timer_->setSingleShot(true);

    connect(load, &QPushButton::clicked, this, [this] { BtnLoadClick(); });
    connect(add, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(del, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
    connect(edit, &QPushButton::clicked, this, [this] { BtnEditClick(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { show_help(kHelpContext); });
    install_help_key(this, kHelpContext);
    connect(materials_, &QListWidget::currentRowChanged, this, [this] { MaterialListSelect(); });
    connect(materials_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { RenameEdited(item); });
    connect(materials_, &QListWidget::itemDoubleClicked, this, [this] {
        if (db_ && db_->SelectedEntry()) accept();
    });
    connect(params_, &QListWidget::currentRowChanged, this, [this] { ParamListClick(); });
    connect(param_edit_, &QLineEdit::textChanged, this, [this] { ParamEditChange(); });
    connect(units_edit_, &QComboBox::currentIndexChanged, this, [this] { UnitsEditChange(); });
    // An empty or duplicate name gets the in-place edit back a moment later.
    connect(timer_, &QTimer::timeout, this, [this] {
        if (QListWidgetItem* item = materials_->currentItem()) materials_->editItem(item);
    });
}

QPushButton* TMaterialForm::button(const char* object_name) const {
    return findChild<QPushButton*>(object_name);
}

void TMaterialForm::Load(TMaterialDatabase& db, Units project_units) {
    db_ = &db;
    project_units_ = project_units;
    file_panel_->setText(tr("Material File :") + QString::fromStdString(db.Path()));
    fill_materials();
    set_edit_mode(false);
    set_buttons();
    materials_->setFocus();
}

bool TMaterialForm::Execute(TMaterialDatabase& db, Units project_units) {
    Load(db, project_units);
    const bool ok = exec() == QDialog::Accepted && db.SelectedEntry();
    db_ = nullptr;
    return ok;
}

void TMaterialForm::fill_materials() {
    const bool was = updating_;
    updating_ = true;
    materials_->clear();
    for (const MaterialEntry& e : db_->Entries()) {
        auto* item = new QListWidgetItem(QString::fromStdString(e.name), materials_);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    materials_->setCurrentRow(db_->Selected());
    updating_ = was;
    ShowMaterial();
}

void TMaterialForm::MaterialListSelect() {
    if (updating_ || !db_) return;
    db_->Select(materials_->currentRow());
    ShowMaterial();
    set_buttons();
}

void TMaterialForm::ShowMaterial() {
    const MaterialEntry* e = db_ ? db_->SelectedEntry() : nullptr;
    material_label_->setText(tr("Material") + " : " +
                             (e ? QString::fromStdString(e->name) : QString()));
    const bool was = updating_;
    updating_ = true;
    params_->clear();
    if (e)
        for (const std::string& key : e->keys) params_->addItem(QString::fromStdString(key));
    updating_ = was;
    if (params_->count() > 0) {
        params_->setCurrentRow(0);
        ParamListClick();
    } else {
        param_label_->clear();
        unit_label_->clear();
    }
}

QString TMaterialForm::converted_hint(int key) const {
    const MaterialEntry* e = db_->SelectedEntry();
    const ParamDescription* row = standard_row(e->keys[static_cast<std::size_t>(key)]);
    if (!row || row->field == ParamField::Units) return {};
    int material_units = 0;
    for (std::size_t i = 0; i < e->keys.size(); ++i)
        if (iequals(e->keys[i], "Units"))
            material_units = std::clamp(int_or(e->values[i], 0), 0, 1);
    const Units from = units_of(static_cast<unsigned char>(material_units));
    QString hint = QString::fromStdString(std::string(param_unit_text(*row, from)));
    if (from == project_units_ || row->unit_mm == row->unit_inch) return hint;
    const auto value = parse_real(e->values[static_cast<std::size_t>(key)], db_->DecimalSeparator);
    if (!value) return hint;
    TCycleParams p;
    set_param(p, row->field, *value);
    const TCycleParams q = convert_params(p, from, project_units_);
    return hint + "  (" + tr("project") + ": " +
           QString::fromStdString(general_text(get_param(q, row->field), db_->DecimalSeparator)) +
           " " + QString::fromStdString(std::string(param_unit_text(*row, project_units_))) + ")";
}

void TMaterialForm::ParamListClick() {
    const MaterialEntry* e = db_ ? db_->SelectedEntry() : nullptr;
    const int key = params_->currentRow();
    if (updating_ || !e || key < 0 || key >= static_cast<int>(e->keys.size())) return;
    updating_ = true;
    const std::string& name = e->keys[static_cast<std::size_t>(key)];
    const std::string& value = e->values[static_cast<std::size_t>(key)];
    const ParamDescription* row = standard_row(name);
    // The description of the key itself, so that a file with its keys in
    // another order still shows the right text.
    const QString description =
        row ? QString::fromStdString(std::string(row->description))
            : tr("Not one of the standard parameters: kept in the file, not applied.");
    param_label_->setText(tr("Parameter") + " : \n\n" + description);

    const ParamField field = key_field(name);
    const bool units = field == ParamField::Units;
    units_edit_->setVisible(units);
    param_edit_->setVisible(!units);
    if (units) {
        units_edit_->setCurrentIndex(std::clamp(int_or(value, 0), 0, 1));
    } else if (field == ParamField::Repeats || field == ParamField::FinishPass) {
        param_edit_->setEditType(TEditType::etInt);
        param_edit_->SetRange(0, 0);
        param_edit_->setText(QString::number(int_or(value, 0)));
    } else if (field == ParamField::TipAngle) {
        param_edit_->setEditType(TEditType::etInt);
        param_edit_->SetRange(0, 80);
        param_edit_->setText(QString::number(std::clamp(int_or(value, 0), 0, 80)));
    } else if (field == ParamField::Chamfer) {
        param_edit_->setEditType(TEditType::etInt);
        param_edit_->SetRange(1, 99);
        param_edit_->setText(QString::number(std::clamp(int_or(value, 1), 1, 99)));
    } else {
        param_edit_->setEditType(TEditType::etReal);
        param_edit_->SetRange(0, 0);
        const auto number = parse_real(value, db_->DecimalSeparator);
        param_edit_->setText(number ? QString::fromStdString(value) : QStringLiteral("0"));
    }
    unit_label_->setText(units ? QString() : converted_hint(key));
    param_edit_->setFocusPolicy(edit_mode_ ? Qt::StrongFocus : Qt::NoFocus);
    units_edit_->setFocusPolicy(edit_mode_ ? Qt::StrongFocus : Qt::NoFocus);
    updating_ = false;
}

void TMaterialForm::ParamEditChange() {
    const int key = params_->currentRow();
    if (updating_ || !db_ || !db_->SelectedEntry() || key < 0) return;
    db_->SetValue(db_->Selected(), static_cast<std::size_t>(key),
                  param_edit_->text().toStdString());
    unit_label_->setText(converted_hint(key));
}

void TMaterialForm::UnitsEditChange() {
    const int key = params_->currentRow();
    if (updating_ || !db_ || !db_->SelectedEntry() || key < 0) return;
    db_->SetValue(db_->Selected(), static_cast<std::size_t>(key),
                  std::to_string(units_edit_->currentIndex()));
}

void TMaterialForm::UnitsEditDblClick() {
    units_edit_->setCurrentIndex(units_edit_->currentIndex() == 0 ? 1 : 0);
}

bool TMaterialForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == units_edit_) {
        // The units choice takes no typed keys; a double-click switches it.
        if (event->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(event)->key();
            if (k != Qt::Key_Tab && k != Qt::Key_Backtab) return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            UnitsEditDblClick();
            return true;
        }
    }
    if (watched == materials_->viewport() && event->type() == QEvent::MouseButtonPress &&
        materials_->count() > 0 && !materials_->currentItem()) {
        // A click beside the entries still picks one: the nearest.
        const int y = static_cast<QMouseEvent*>(event)->position().toPoint().y();
        int nearest = 0;
        int best = INT_MAX;
        for (int row = 0; row < materials_->count(); ++row) {
            const QRect r = materials_->visualItemRect(materials_->item(row));
            const int d = std::abs(r.center().y() - y);
            if (d < best) {
                best = d;
                nearest = row;
            }
        }
        materials_->setCurrentRow(nearest);
    }
    return QDialog::eventFilter(watched, event);
}

void TMaterialForm::BtnAddClick() {
    if (!db_) return;
    db_->Add();
    fill_materials();
    set_buttons();
    if (QListWidgetItem* item = materials_->currentItem()) materials_->editItem(item);
}

void TMaterialForm::RenameEdited(QListWidgetItem* item) {
    if (updating_ || !db_) return;
    const int row = materials_->row(item);
    const std::string name = std::string(trim_blanks(item->text().toStdString()));
    if (row < 0 || row >= static_cast<int>(db_->Entries().size())) return;
    const auto result = db_->Rename(row, name);
    if (result != TMaterialDatabase::RenameResult::Ok) {
        const bool was = updating_;
        updating_ = true;
        item->setText(QString::fromStdString(db_->Entries()[static_cast<std::size_t>(row)].name));
        updating_ = was;
        prompt_.tell(MessageKind::Error, TMaterialDatabase::RenameMessage(result));
        materials_->setCurrentRow(row);
        timer_->start();
        return;
    }
    // The list sorts by name: the renamed entry may move.
    QTimer::singleShot(0, this, [this] {
        if (!db_) return;
        fill_materials();
        set_buttons();
    });
}

void TMaterialForm::BtnDeleteClick() {
    if (!db_ || !db_->SelectedEntry()) return;
    db_->Delete(db_->Selected());
    fill_materials();
    set_buttons();
}

void TMaterialForm::set_buttons() {
    const bool selected = db_ && db_->SelectedEntry();
    button("BtnDelete")->setEnabled(db_ && !db_->Entries().empty());
    button("BtnEdit")->setEnabled(selected);
    button("BtnOK")->setEnabled(selected);
}

void TMaterialForm::set_edit_mode(bool on) {
    edit_mode_ = on;
    button("BtnEdit")->setText(tr("Edit") + (on ? " <<" : " >>"));
    edit_area_->setVisible(on);
    setFixedHeight(on ? kEditHeight : kCompactHeight);
    setMinimumWidth(460);
    ShowMaterial();
}

void TMaterialForm::BtnEditClick() {
    set_edit_mode(!edit_mode_);
}

void TMaterialForm::BtnLoadClick() {
    if (!db_ || !choose_file) return;
    const QFileInfo current(QString::fromStdString(db_->Path()));
    const QString chosen = choose_file(current.absolutePath(), current.fileName());
    if (chosen.isEmpty()) return;
    db_->LoadMaterialFile(chosen.toStdString());
    file_panel_->setText(tr("Material File :") + QString::fromStdString(db_->Path()));
    fill_materials();
    set_buttons();
}

} // namespace zeran
