#pragma once
// The busy box: a borderless message with a progress bar, shown over a
// control while long work runs, and the progress interface over it.
#include "base/progress.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace zeran {

class TThinking_box : public QWidget {
    Q_OBJECT
public:
    explicit TThinking_box(QWidget* parent = nullptr);

    // Without a control nothing is shown.
    void ShowBusy(QWidget* control, const QString& message);
    void HideBusy();
    bool shown() const { return shown_; }
    // The control the box was last shown over.
    QWidget* control() const { return control_; }

    QProgressBar* bar() const { return bar_; }
    QLabel* message() const { return msg_; }
    QSize cell() const { return cell_; }

private:
    QLabel* msg_ = nullptr;
    QWidget* bar_panel_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QSize cell_;
    QPointer<QWidget> control_;
    bool shown_ = false;
};

// Progress of core work on the busy box's bar: the box is shown over
// `control` (none: the bar still counts, the box stays hidden).
class BusyProgress final : public Progress {
public:
    BusyProgress(TThinking_box& box, QWidget* control) : box_(box), control_(control) {}
    void progress(long long max, long long position) override;
    void show_busy(const std::string& message) override;
    void hide_busy() override;

private:
    TThinking_box& box_;
    QPointer<QWidget> control_;
};

} // namespace zeran
