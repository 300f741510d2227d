#include "dialogs/param_form.h"

#include "cycles/kind_description.h"
#include "dialogs/cycle_pictures.h"
#include "dialogs/real_edit.h"
#include "dialogs/title_width.h"
#include "view/help_link.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zeran {

namespace {

// A new unit makes the object convert its lengths, as a change of the
// project's units does.
TParamControls in_units(const TParamControls& values, Units units) {
    TParamControls converted = values;
    if (converted.DialogUnits() == units) return converted;
    TCycleParams record = converted.ReadRecord();
    record.Units = stored_units(units);
    converted.LoadRecord(record);
    return converted;
}

QRadioButton* add_choice(QGroupBox* box, QButtonGroup* group, const QString& text, int id) {
    auto* b = new QRadioButton(text, box);
    group->addButton(b, id);
    box->layout()->addWidget(b);
    return b;
}

} // namespace

TParamForm::TParamForm(const TParamControls& values, Units units, QWidget* parent)
    : QDialog(parent), values_(in_units(values, units)), original_(values_),
      picture_(cycle_picture(values.Kind)) {
    setWindowTitle(QString::fromStdString(values_.Title()));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    build_common_panel(layout);
    build_kind_panel(layout);
    build_compensation_panel(layout);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
    ok_->setDefault(true);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    help_ = buttons->addButton(tr("Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const int context = values_.HelpContext();
    connect(help_, &QPushButton::clicked, this, [context] { show_help(context); });
    install_help_key(this, context);
    layout->addWidget(buttons);

    show_values();
    keep_title_whole(this);
}

void TParamForm::build_common_panel(QVBoxLayout* layout) {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("FeedSpeedPanel"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* image = new QLabel(panel);
    image->setObjectName(QStringLiteral("CycleImage"));
    image->setFixedSize(95, 80);
    image->setAlignment(Qt::AlignCenter);
    image->setPixmap(QPixmap::fromImage(picture_));
    row->addWidget(image);

    auto* grid = new QGridLayout;
    add_row(grid, 0, {ParamField::Feed, tr("Feed Rate"), "FeedEdit", false, UnitLabel::Feed});
    add_row(grid, 2,
            {ParamField::Speed, tr("Spindle Speed"), "SpeedEdit", false, UnitLabel::Speed});
    auto make_group = [&](const char* name, const QString& a, const QString& b, int at,
                          QRadioButton*& first, QRadioButton*& second, ParamField field) {
        auto* box = new QGroupBox(panel);
        box->setObjectName(QLatin1String(name));
        box->setLayout(new QHBoxLayout);
        auto* group = new QButtonGroup(box);
        first = add_choice(box, group, a, 0);
        second = add_choice(box, group, b, 1);
        connect(group, &QButtonGroup::idToggled, this, [this, field](int, bool on) {
            if (on) edited(field);
        });
        grid->addWidget(box, at, 0, 1, 3);
    };
    make_group("FeedGroup", tr("Feed/Min."), tr("Feed/Rev."), 1, feed_min_, feed_rev_,
               ParamField::UseFPR);
    make_group("SpeedGroup", tr("Rev./Min."), tr("Constant Speed"), 3, speed_rpm_, speed_css_,
               ParamField::UseCSS);
    row->addLayout(grid, 1);
    layout->addWidget(panel);
}

void TParamForm::build_kind_panel(QVBoxLayout* layout) {
    const std::vector<ParamRow> rows = param_panel_rows(values_.Kind);
    if (rows.empty()) return; // finishing and linear cycles have none
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QLatin1String(param_panel_name(values_.Kind)));
    auto* grid = new QGridLayout(panel);
    for (std::size_t i = 0; i < rows.size(); ++i) add_row(grid, static_cast<int>(i), rows[i]);
    layout->addWidget(panel);
}

// How the path allows for the insert's nose radius, for the contour kinds.
void TParamForm::build_compensation_panel(QVBoxLayout* layout) {
    if (!takes_nose_compensation(values_.Kind)) return;
    auto* box = new QGroupBox(tr("Nose radius compensation"), this);
    box->setObjectName(QStringLiteral("CompensationGroup"));
    box->setLayout(new QHBoxLayout);
    compensation_ = new QButtonGroup(box);
    add_choice(box, compensation_, tr("None"), static_cast<int>(NoseCompensation::None));
    add_choice(box, compensation_, tr("In program"), static_cast<int>(NoseCompensation::InProgram));
    add_choice(box, compensation_, tr("In control (G41/G42)"),
               static_cast<int>(NoseCompensation::InControl));
    connect(compensation_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) edited(ParamField::Compensation);
    });
    layout->addWidget(box);
}

QRadioButton* TParamForm::CompensationChoice(NoseCompensation choice) const {
    if (!compensation_) return nullptr;
    return qobject_cast<QRadioButton*>(compensation_->button(static_cast<int>(choice)));
}

void TParamForm::add_row(QGridLayout* grid, int row, const ParamRow& r) {
    Control c;
    QWidget* owner = grid->parentWidget() ? grid->parentWidget() : this;
    c.caption = new QLabel(r.caption, owner);
    c.edit = new TRealEdit(owner);
    c.edit->setObjectName(QLatin1String(r.object_name));
    c.edit->setPosOnly(true);
    if (r.integer) c.edit->setEditType(TEditType::etInt);
    c.caption->setBuddy(c.edit);
    c.unit = new QLabel(owner);
    c.unit_kind = r.unit;
    c.integer = r.integer;
    grid->addWidget(c.caption, row, 0);
    grid->addWidget(c.edit, row, 1);
    grid->addWidget(c.unit, row, 2);
    const ParamField field = r.field;
    connect(c.edit, &TRealEdit::Change, this, [this, field] { edited(field); });
    controls_[field] = c;
}

void TParamForm::show_values() {
    loading_ = true;
    for (auto& [field, c] : controls_) {
        const double v = values_.Control(field);
        if (c.integer)
            c.edit->setValueI(static_cast<int>(v));
        else
            c.edit->setValueR(v);
    }
    (values_.Control(ParamField::UseFPR) != 0 ? feed_rev_ : feed_min_)->setChecked(true);
    (values_.Control(ParamField::UseCSS) != 0 ? speed_css_ : speed_rpm_)->setChecked(true);
    if (compensation_)
        compensation_->button(static_cast<int>(values_.Control(ParamField::Compensation)))
            ->setChecked(true);
    loading_ = false;
    refresh_units();
    refresh_status();
}

void TParamForm::edited(ParamField field) {
    if (loading_) return;
    entry_problem_.clear();
    double v = 0;
    if (field == ParamField::UseFPR)
        v = feed_rev_->isChecked() ? 1 : 0;
    else if (field == ParamField::UseCSS)
        v = speed_css_->isChecked() ? 1 : 0;
    else if (field == ParamField::Compensation)
        v = compensation_->checkedId();
    else
        v = controls_[field].integer ? controls_[field].edit->ValueI()
                                     : controls_[field].edit->ValueR();
    const std::string problem = values_.EntryProblem(field, v);
    if (problem.empty()) {
        values_.SetControl(field, v);
    } else {
        // The control keeps what it held; the line says why.
        entry_problem_ = QString::fromStdString(problem);
        Control& c = controls_[field];
        loading_ = true;
        if (c.integer)
            c.edit->setValueI(static_cast<int>(values_.Control(field)));
        else
            c.edit->setValueR(values_.Control(field));
        loading_ = false;
    }
    refresh_units();
    refresh_status();
}

void TParamForm::refresh_units() {
    const bool per_rev = values_.Control(ParamField::UseFPR) != 0;
    const bool css = values_.Control(ParamField::UseCSS) != 0;
    for (auto& [field, c] : controls_)
        c.unit->setText(unit_label_text(c.unit_kind, values_.DialogUnits(), per_rev, css));
}

bool TParamForm::ValuesValid() const {
    TParamControls probe = values_;
    probe.ReadRecord();
    return probe.DialogValid();
}

std::vector<ParamField> TParamForm::MissingFields() const {
    std::vector<ParamField> missing;
    for (ParamField f : required_param_fields(values_.Kind))
        if (!(values_.Control(f) > 0)) missing.push_back(f);
    return missing;
}

void TParamForm::refresh_status() {
    const std::vector<ParamField> missing = MissingFields();
    for (auto& [field, c] : controls_) c.caption->setStyleSheet(QString());
    QStringList names;
    for (ParamField f : missing) {
        auto it = controls_.find(f);
        if (it == controls_.end()) continue;
        it->second.caption->setStyleSheet(QStringLiteral("color: #c00000"));
        names << it->second.caption->text();
    }
    QString text;
    if (!entry_problem_.isEmpty())
        text = entry_problem_;
    else if (ValuesValid())
        text = tr("The parameters are complete.");
    else
        text = tr("Not complete: %1 must be more than 0.").arg(names.join(QStringLiteral(", ")));
    const bool bad = !entry_problem_.isEmpty() || !ValuesValid();
    status_->setStyleSheet(bad ? QStringLiteral("color: #c00000")
                               : QStringLiteral("color: #006000"));
    status_->setText(text);
}

void TParamForm::showEvent(QShowEvent* e) {
    // A new showing starts a new round of changes.
    values_.Shown();
    QDialog::showEvent(e);
}

bool TParamForm::Execute() {
    const bool ok = exec() == QDialog::Accepted;
    if (!ok) values_ = original_;
    return ok;
}

TRealEdit* TParamForm::Edit(ParamField field) const {
    auto it = controls_.find(field);
    return it == controls_.end() ? nullptr : it->second.edit;
}

QLabel* TParamForm::UnitLabelOf(ParamField field) const {
    auto it = controls_.find(field);
    return it == controls_.end() ? nullptr : it->second.unit;
}

QLabel* TParamForm::CaptionOf(ParamField field) const {
    auto it = controls_.find(field);
    return it == controls_.end() ? nullptr : it->second.caption;
}

} // namespace zeran
