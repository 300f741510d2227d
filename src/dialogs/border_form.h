#pragma once
// The border, in pixels, left around the drawing when the view fits it.
#include <QDialog>

class QSpinBox;

namespace zeran {

class TBorderForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 65;
    static constexpr int kMinBorder = 5;
    static constexpr int kMaxBorder = 100;
    static constexpr int kDefaultBorder = 20;

    explicit TBorderForm(QWidget* parent = nullptr);

    // Values outside 5..100 are brought to the nearer limit.
    void SetBorder(int border);
    int GetBorder() const;
    bool Execute();

    QSpinBox* border_edit() const { return edit_; }

private:
    QSpinBox* edit_ = nullptr;
};

} // namespace zeran
