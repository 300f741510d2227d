#pragma once
// The parameter dialog of one cycle: the common feed-and-speed panel, the
// panel of the cycle's kind with unit labels, the cycle's picture, and a
// line that says whether the values are complete before OK is pressed.
// It edits a copy of the cycle's parameter object and hands it back.
#include "cycles/param_controls.h"
#include "dialogs/param_panels.h"

#include <QDialog>
#include <QImage>
#include <map>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace zeran {

class TRealEdit;

class TParamForm : public QDialog {
    Q_OBJECT
public:
    // Shows the values in `units` (the project's): when the object holds
    // them in the other unit, they are converted first.
    TParamForm(const TParamControls& values, Units units, QWidget* parent = nullptr);

    // Shows the dialog modally; true when OK closed it. After Cancel the
    // values are those the dialog was given.
    bool Execute();
    const TParamControls& Values() const { return values_; }
    // Feed, speed and the kind's rule; the status line shows it.
    bool ValuesValid() const;
    // The fields the kind needs that are still zero, in panel order.
    std::vector<ParamField> MissingFields() const;

    TRealEdit* Edit(ParamField field) const;
    QLabel* UnitLabelOf(ParamField field) const;
    QLabel* CaptionOf(ParamField field) const;
    QRadioButton* FeedPerRev() const { return feed_rev_; }
    QRadioButton* SpeedConstant() const { return speed_css_; }
    // The nose compensation choice; nullptr for kinds without one.
    QRadioButton* CompensationChoice(NoseCompensation choice) const;
    QLabel* Status() const { return status_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* HelpButton() const { return help_; }
    const QImage& Picture() const { return picture_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    struct Control {
        TRealEdit* edit = nullptr;
        QLabel* caption = nullptr;
        QLabel* unit = nullptr;
        UnitLabel unit_kind = UnitLabel::None;
        bool integer = false;
    };

    void build_common_panel(QVBoxLayout* layout);
    void build_kind_panel(QVBoxLayout* layout);
    void build_compensation_panel(QVBoxLayout* layout);
    void add_row(QGridLayout* grid, int row, const ParamRow& r);
    void edited(ParamField field);
    void show_values();
    void refresh_units();
    void refresh_status();

    TParamControls values_;
    TParamControls original_;
    std::map<ParamField, Control> controls_;
    QRadioButton* feed_min_ = nullptr;
    QRadioButton* feed_rev_ = nullptr;
    QRadioButton* speed_rpm_ = nullptr;
    QRadioButton* speed_css_ = nullptr;
    QButtonGroup* compensation_ = nullptr; // ids are NoseCompensation values
    QLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* help_ = nullptr;
    QImage picture_;
    QString entry_problem_;
    bool loading_ = false;
};

} // namespace zeran
