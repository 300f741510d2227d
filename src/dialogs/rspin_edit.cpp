#include "dialogs/rspin_edit.h"

#include "base/number_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace zeran {

namespace {

constexpr int kButtonWidth = 15;
constexpr int kButtonHeight = 17;

QChar locale_separator() {
    const QString s = QLocale::system().decimalPoint();
    return s.size() == 1 && s[0].unicode() < 128 ? s[0] : QLatin1Char('.');
}

} // namespace

TRSpinEdit::TRSpinEdit(QWidget* parent) : QLineEdit(parent) {
    setText(QStringLiteral("0"));
    auto make = [this](Qt::ArrowType arrow) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(100);
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::ArrowCursor);
        return b;
    };
    up_ = make(Qt::UpArrow);
    down_ = make(Qt::DownArrow);
    up_->setObjectName(QStringLiteral("SpinUp"));
    down_->setObjectName(QStringLiteral("SpinDown"));
    connect(up_, &QToolButton::clicked, this, [this] { Up(); });
    connect(down_, &QToolButton::clicked, this, [this] { Down(); });
    connect(this, &QLineEdit::textChanged, this, [this] {
        updateGeometry();
        emit Change();
    });
    setTextMargins(0, 0, kButtonWidth, 0);
}

QSize TRSpinEdit::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int wanted =
        std::max(fm.horizontalAdvance(text()), fm.horizontalAdvance(QStringLiteral("-8888.888")));
    // The frame and QLineEdit's own inner margins, both sides.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QSize inner(wanted + kButtonWidth + 2 * 2 + fm.averageCharWidth(), fm.height() + 2);
    const QSize outer = style()->sizeFromContents(QStyle::CT_LineEdit, &option, inner, this);
    return {outer.width(), QLineEdit::minimumSizeHint().height()};
}

QSize TRSpinEdit::sizeHint() const {
    const QSize minimum = minimumSizeHint();
    return {std::max(minimum.width(), QLineEdit::sizeHint().width()),
            QLineEdit::sizeHint().height()};
}

void TRSpinEdit::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    const int h = std::min(height(), kButtonHeight);
    const int top = (height() - h) / 2;
    up_->setGeometry(width() - kButtonWidth, top, kButtonWidth, h / 2);
    down_->setGeometry(width() - kButtonWidth, top + h / 2, kButtonWidth, h - h / 2);
}

double TRSpinEdit::Value() const {
    if (decimals_ > 0 && !held_text_.isEmpty() && text() == held_text_) return held_;
    const auto v =
        parse_real(text().toStdString(), static_cast<char>(locale_separator().toLatin1()));
    if (!v || !std::isfinite(*v)) return min_;
    return *v;
}

bool TRSpinEdit::HasValue() const {
    if (decimals_ > 0 && !held_text_.isEmpty() && text() == held_text_) return true;
    const auto v =
        parse_real(text().toStdString(), static_cast<char>(locale_separator().toLatin1()));
    return v && std::isfinite(*v);
}

double TRSpinEdit::limited(double v) const {
    if (min_ != max_) v = std::max(min_, std::min(max_, v));
    return v;
}

void TRSpinEdit::setValue(double v) {
    v = limited(v);
    const char separator = static_cast<char>(locale_separator().toLatin1());
    if (decimals_ <= 0) {
        held_text_.clear();
        setText(QString::fromStdString(general_text(v, separator, 15)));
        return;
    }
    const double scale = std::pow(10.0, decimals_);
    double shown = std::round(v * scale) / scale;
    if (shown == 0) shown = 0; // no "-0"
    held_ = v;
    held_text_ = QString::fromStdString(general_text(shown, separator, 15));
    setText(held_text_);
}

void TRSpinEdit::step(double by) {
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    setValue(Value() + by);
}

void TRSpinEdit::Up() {
    step(increment_);
}
void TRSpinEdit::Down() {
    step(-increment_);
}

bool TRSpinEdit::accepts(QChar c) const {
    const bool control = c.unicode() < 32 || c.unicode() == 127;
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) return false;
    if (!editor_enabled_) return control && c != QLatin1Char('\b');
    if (control) return true;
    return (c.isDigit() && c.unicode() < 128) || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c == locale_separator();
}

void TRSpinEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) {
        e->key() == Qt::Key_Up ? Up() : Down();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
        if (editor_enabled_ && !isReadOnly()) QLineEdit::keyPressEvent(e);
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->ignore();
        return;
    }
    if (e->key() == Qt::Key_Delete && !editor_enabled_) {
        e->accept();
        return;
    }
    const QString t = e->text();
    if (t.size() == 1 && !(e->modifiers() & Qt::ControlModifier) && !accepts(t[0])) {
        QApplication::beep();
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TRSpinEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // Deferred: the click that brought the focus would clear the selection.
    if (auto_select_) QTimer::singleShot(0, this, [this] { selectAll(); });
}

void TRSpinEdit::focusOutEvent(QFocusEvent* e) {
    const double v = Value();
    if (limited(v) != v) setValue(v);
    QLineEdit::focusOutEvent(e);
}

} // namespace zeran
