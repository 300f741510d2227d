#include "view/busy_box.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <climits>

namespace zeran {

TThinking_box::TThinking_box(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput) {
    setObjectName(QStringLiteral("Thinking_box"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setEnabled(false);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(12);
    setFont(f);
    msg_ = new QLabel(this);
    msg_->setObjectName(QStringLiteral("think_msg"));
    msg_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    msg_->setAlignment(Qt::AlignCenter);
    bar_panel_ = new QWidget(this);
    bar_panel_->setObjectName(QStringLiteral("barpanel"));
    bar_panel_->hide();
    bar_ = new QProgressBar(bar_panel_);
    bar_->setObjectName(QStringLiteral("bar"));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    const QFontMetrics fm(f);
    cell_ = QSize(fm.horizontalAdvance(QLatin1Char('8')), fm.height());
}

void TThinking_box::ShowBusy(QWidget* control, const QString& message) {
    if (!control) return;
    control_ = control;
    const int w = static_cast<int>(message.size()) * cell_.width() + 12;
    const int h = cell_.height() + 30;
    const int panel_h = 24;
    bar_panel_->hide();
    const QPoint centre = control->mapToGlobal(control->rect().center());
    setGeometry(centre.x() - w / 2, centre.y() - (h + panel_h) / 2, w, h + panel_h);
    msg_->setGeometry(0, 0, w, h);
    bar_panel_->setGeometry(0, h, w, panel_h);
    bar_->setGeometry(8, 4, std::max(0, w - 16), panel_h - 8);
    msg_->setText(message);
    bar_panel_->show();
    show();
    raise();
    repaint();
    shown_ = true;
}

void TThinking_box::HideBusy() {
    hide();
    bar_panel_->hide();
    shown_ = false;
}

void BusyProgress::progress(long long max, long long position) {
    QProgressBar* bar = box_.bar();
    // The bar counts in int; larger counts are scaled down together.
    long long m = max < 0 ? bar->maximum() : max;
    long long scale = 1;
    while (m / scale > INT_MAX / 2) scale *= 2;
    if (max >= 0) bar->setMaximum(static_cast<int>(m / scale));
    bar->setValue(static_cast<int>(std::clamp(position / scale, 0LL, m / scale)));
}

void BusyProgress::show_busy(const std::string& message) {
    box_.bar()->setValue(0);
    box_.ShowBusy(control_.data(), QString::fromStdString(message));
}

void BusyProgress::hide_busy() {
    box_.HideBusy();
}

} // namespace zeran
