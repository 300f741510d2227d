#pragma once
// A real-valued spin edit: an edit with up and down buttons (and the arrow
// keys) that step the value by an increment.
#include <QLineEdit>

class QToolButton;

namespace zeran {

class TRSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRSpinEdit(QWidget* parent = nullptr);

    // The text as a real; MinValue when it is not a number.
    double Value() const;
    // False while the text is no number yet (emptied, a lone sign): typing
    // has not reached a value the edit stands for.
    bool HasValue() const;
    // Held within MinValue..MaxValue when the two differ. With decimals set,
    // the text shows v rounded to them while Value() keeps v itself until
    // the text is changed.
    void setValue(double v);
    int Decimals() const { return decimals_; }
    // 0: the general form with 15 significant digits.
    void setDecimals(int decimals) { decimals_ = decimals; }
    double MinValue() const { return min_; }
    void setMinValue(double v) { min_ = v; }
    double MaxValue() const { return max_; }
    void setMaxValue(double v) { max_ = v; }
    double Increment() const { return increment_; }
    void setIncrement(double v) { increment_ = v; }
    bool EditorEnabled() const { return editor_enabled_; }
    void setEditorEnabled(bool on) { editor_enabled_ = on; }
    bool AutoSelect() const { return auto_select_; }
    void setAutoSelect(bool on) { auto_select_ = on; }

    // Wide enough for the text it holds and for any value of up to seven
    // digits, sign and point, so a number is never shown cut.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Whether a typed character is taken (the key filter).
    bool accepts(QChar c) const;
    void Up();
    void Down();

signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    double limited(double v) const;
    void step(double by);

    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    double min_ = 0;
    double max_ = 0;
    double increment_ = 1.0;
    int decimals_ = 0;
    double held_ = 0;
    QString held_text_;
    bool editor_enabled_ = true;
    bool auto_select_ = true;
};

} // namespace zeran
