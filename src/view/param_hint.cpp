#include "view/param_hint.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>

namespace zeran {

namespace {

constexpr int kMargin = 2;

char locale_separator() {
    const QString s = QLocale::system().decimalPoint();
    return s.size() == 1 && s[0].unicode() < 128 ? static_cast<char>(s[0].unicode()) : '.';
}

} // namespace

TParamHint::TParamHint(QWidget* parent) : QWidget(parent, Qt::ToolTip) {
    setObjectName(QStringLiteral("ParamHint"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    timer_.setSingleShot(true);
    timer_.setInterval(500);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

QStringList TParamHint::shown_lines() const {
    QString t = QString::fromStdString(hint_.text);
    return t.split(QLatin1Char('\n'));
}

void TParamHint::ShowParamHint(int x, int y, const void* node, TParamControls& params,
                               int node_width, const std::string& trouble) {
    if (node == node_ && node_ != nullptr) return;
    node_ = node;
    hint_ = build_param_hint(params, locale_separator());
    add_hint_trouble(hint_, trouble);
    const QFontMetrics fm(font());
    const QStringList lines = shown_lines();
    // Lines are not wrapped; the node's width only sets the least width.
    int w = std::max(0, node_width);
    for (const QString& l : lines) w = std::max(w, fm.horizontalAdvance(l));
    QFont bold = font();
    bold.setBold(true);
    const int word = QFontMetrics(bold).horizontalAdvance(
        QString::fromStdString(hint_.lines.size() > 1 ? hint_.lines[1].text : std::string()));
    if (!lines.isEmpty()) w = std::max(w, fm.horizontalAdvance(lines.front()) + 2 + word);
    const int h = fm.height() * static_cast<int>(lines.size());
    const int width = w + 2 * kMargin + 4;
    const int height = h + 2 * kMargin + 2;
    rect_ = QRect(x + node_width / 2 - width / 2, y, width, height);
    wanted_ = true;
    timer_.start();
}

void TParamHint::SetHintWanted(bool wanted) {
    wanted_ = wanted;
    tick();
}

void TParamHint::tick() {
    timer_.stop();
    if (wanted_ && !hint_.text.empty()) {
        setGeometry(rect_);
        show();
        raise();
        update();
    } else {
        hide();
        hint_ = {};
        node_ = nullptr;
    }
}

void TParamHint::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const int line_h = fm.height();
    const QStringList lines = shown_lines();
    p.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(kMargin, kMargin + i * line_h + fm.ascent(), lines[i]);
    const QColor green(0, 128, 0), red(255, 0, 0);
    if (hint_.lines.size() > 1 && !lines.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(hint_.ready ? green : red);
        const int x = kMargin + fm.horizontalAdvance(lines.front()) + 2;
        p.drawText(x, kMargin + fm.ascent(), QString::fromStdString(hint_.lines[1].text));
        p.setFont(font());
    }
    p.setPen(red);
    for (std::size_t i = 2; i < hint_.lines.size(); ++i) {
        if (hint_.lines[i].ok) continue;
        const int top = kMargin + line_h * static_cast<int>(i - 1);
        p.drawText(kMargin, top + fm.ascent(), QString::fromStdString(hint_.lines[i].text));
    }
    if (!hint_.lines.empty() && !hint_.lines[0].ok) {
        p.drawText(kMargin, kMargin + fm.ascent(), QString::fromStdString(hint_.lines[0].text));
    }
    p.setPen(hint_.ready ? green : red);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, width() - 2, height() - 2);
}

} // namespace zeran
