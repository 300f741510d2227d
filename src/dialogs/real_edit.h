#pragma once
// A one-line edit for a real or an integer: filters what is typed, keeps the
// value within its limits and shows a length in millimetres, metres, inches
// or feet while it holds millimetres.
#include <QLineEdit>

namespace zeran {

enum class TEditType { etReal, etInt };

class TRealEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealEdit(QWidget* parent = nullptr);

    TEditType EditType() const { return edit_type_; }
    void setEditType(TEditType t);
    bool PosOnly() const { return pos_only_; }
    void setPosOnly(bool on);
    double Max() const { return max_; }
    double Min() const { return min_; }
    // Taken only when above Min (Max) or below Max (Min); 0 means no limit.
    void setMax(double m);
    void setMin(double m);
    // Both at once when min <= max; the value is then held between them.
    void SetRange(double min, double max);

    bool Metric() const { return metric_; }
    void setMetric(bool on);
    bool MetricMeter() const { return metric_meter_; }
    void setMetricMeter(bool on);
    bool ImperialFeet() const { return imperial_feet_; }
    void setImperialFeet(bool on);

    // Reads the text (millimetres for lengths), keeps it, applies the limits.
    double ValueR();
    void setValueR(double v);
    int ValueI() const;
    void setValueI(int v);
    // The value last read or written, without reading the text again.
    double stored_value() const { return value_; }

    // Whether a typed character would be taken at the caret (the key filter).
    bool accepts(QChar c) const;

signals:
    // After a key is released, when the text was edited.
    void Change();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    QChar separator() const;
    QString shown(double mm) const;
    void apply_limits();
    void recompute_flags();

    TEditType edit_type_ = TEditType::etReal;
    bool pos_only_ = false;
    double max_ = 0;
    double min_ = 0;
    bool metric_ = true;
    bool metric_meter_ = false;
    bool imperial_feet_ = false;
    double value_ = 0;
    bool separator_seen_ = false;
    bool minus_seen_ = false;
    QString text_at_press_;
};

} // namespace zeran
