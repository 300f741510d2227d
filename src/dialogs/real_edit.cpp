#include "dialogs/real_edit.h"

#include "base/number_text.h"
#include "base/tolerances.h"

#include <QKeyEvent>
#include <QLocale>
#include <cmath>
#include <optional>

namespace zeran {

namespace {

// A finite number in the locale's notation (a full stop is taken too).
std::optional<double> read_number(const QString& text, QChar sep) {
    const auto v = parse_real(text.toStdString(), static_cast<char>(sep.toLatin1()));
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

// Texts on the way to a number: cleared, or only a sign and a separator so far.
bool partial_number(const QString& text, QChar sep) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('-'))) t.remove(0, 1);
    return t.isEmpty() || t == QString(sep);
}

} // namespace

TRealEdit::TRealEdit(QWidget* parent) : QLineEdit(parent) {
    setText(QStringLiteral("0"));
    setMaxLength(8);
    recompute_flags();
}

QChar TRealEdit::separator() const {
    const QString s = QLocale::system().decimalPoint();
    return s.size() == 1 && s[0].unicode() < 128 ? s[0] : QLatin1Char('.');
}

void TRealEdit::recompute_flags() {
    separator_seen_ = edit_type_ == TEditType::etInt || text().contains(separator());
    minus_seen_ = text().contains(QLatin1Char('-'));
}

bool TRealEdit::accepts(QChar c) const {
    if (c == QChar(Qt::Key_Backspace) || c == QLatin1Char('\b')) return true;
    if (c.isDigit() && c.unicode() < 128) return true;
    if (c == separator()) {
        // A separator replacing a selection that holds the old one is fine.
        const bool replacing = hasSelectedText() && selectedText().contains(separator());
        return !separator_seen_ || (replacing && edit_type_ == TEditType::etReal);
    }
    // Only in front: a minus after the digits would make the text no number,
    // which reads back as 0 and loses what was typed.
    if (c == QLatin1Char('-')) {
        const bool replacing_minus = hasSelectedText() && selectionStart() == 0 &&
                                     selectedText().startsWith(QLatin1Char('-'));
        const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
        return !pos_only_ && caret == 0 && (!minus_seen_ || replacing_minus);
    }
    return false;
}

void TRealEdit::keyPressEvent(QKeyEvent* e) {
    text_at_press_ = text();
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut) ||
        e->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(e);
        recompute_flags();
        return;
    }
    const QString t = e->text();
    const bool control = (e->modifiers() & Qt::ControlModifier) != 0;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Not taken into the text; the dialog's default button may want it.
        e->ignore();
        return;
    }
    if (t.size() == 1 && !control && (t[0].isPrint() || t[0] == QLatin1Char('\b'))) {
        if (!accepts(t[0])) {
            e->accept();
            return;
        }
    } else if (control && t.size() == 1 && t[0].isPrint()) {
        e->accept(); // other Ctrl letters type nothing here
        return;
    }
    QLineEdit::keyPressEvent(e);
    // From the text as it now stands, so that deleting a separator lets the
    // next one in at once.
    recompute_flags();
}

void TRealEdit::keyReleaseEvent(QKeyEvent* e) {
    QLineEdit::keyReleaseEvent(e);
    if (text() == text_at_press_ && !isModified()) return;
    const double v = ValueR();
    setValueR(v);
    setModified(false);
    text_at_press_ = text();
    emit Change();
}

QString TRealEdit::shown(double mm) const {
    const char sep = static_cast<char>(separator().toLatin1());
    std::string s;
    if (metric_ && metric_meter_)
        s = general_text(mm / 1000.0, sep, 4);
    else if (metric_)
        s = general_text(mm, sep, 6);
    else if (imperial_feet_)
        s = general_text(mm / kMillimetresPerInch / 12.0, sep, 4);
    else
        s = general_text(mm / kMillimetresPerInch, sep, 6);
    return QString::fromStdString(s);
}

double TRealEdit::ValueR() {
    const auto n = read_number(text(), separator());
    double v = 0;
    if (n) {
        v = *n;
    } else if (!partial_number(text(), separator())) {
        setText(QStringLiteral("0"));
    }
    if (metric_) {
        if (metric_meter_) v *= 1000.0;
    } else {
        v *= kMillimetresPerInch;
        if (imperial_feet_) v *= 12.0;
    }
    value_ = v;
    apply_limits();
    return value_;
}

void TRealEdit::setValueR(double v) {
    if (v != value_) setText(shown(v));
    value_ = v;
    apply_limits();
    recompute_flags();
}

int TRealEdit::ValueI() const {
    const auto n = parse_int(text().toStdString());
    if (!n || *n > INT32_MAX || *n < INT32_MIN) return 0;
    return static_cast<int>(*n);
}

void TRealEdit::setValueI(int v) {
    setText(QString::number(v));
    value_ = v;
    apply_limits();
    recompute_flags();
}

void TRealEdit::apply_limits() {
    double v = value_;
    if (max_ != 0 && v > max_) v = max_;
    if (min_ != 0 && v < min_) v = min_;
    if (v != value_) {
        value_ = v;
        setText(edit_type_ == TEditType::etInt ? QString::number(std::lround(v)) : shown(v));
    }
}

void TRealEdit::setMax(double m) {
    if (edit_type_ == TEditType::etInt) m = std::round(m);
    if (m > min_) max_ = m;
    apply_limits();
}

void TRealEdit::setMin(double m) {
    if (edit_type_ == TEditType::etInt) m = std::round(m);
    if (m < max_) min_ = m;
    apply_limits();
}

void TRealEdit::SetRange(double min, double max) {
    if (min <= max) {
        min_ = min;
        max_ = max;
    }
    // Held between them whatever they are: a range of (0, 0) makes it 0.
    const double v = std::max(min_, std::min(max_, value_));
    if (v != value_) {
        value_ = v;
        setText(edit_type_ == TEditType::etInt ? QString::number(std::lround(v)) : shown(v));
    }
}

void TRealEdit::setEditType(TEditType t) {
    edit_type_ = t;
    if (t == TEditType::etInt) {
        QString s = text();
        const int at = s.indexOf(separator());
        if (at >= 0) setText(s.remove(at, 1));
    }
    recompute_flags();
}

void TRealEdit::setPosOnly(bool on) {
    pos_only_ = on;
    if (on) {
        QString s = text();
        const int at = s.indexOf(QLatin1Char('-'));
        if (at >= 0) setText(s.remove(at, 1));
    }
    recompute_flags();
}

void TRealEdit::setMetric(bool on) {
    if (on == metric_) return;
    metric_ = on;
    setMaxLength(on ? 8 : 10);
    // The text shows the held value in the new unit; left alone it would be
    // read back in the wrong one on the next key.
    setText(shown(value_));
    recompute_flags();
}

void TRealEdit::setMetricMeter(bool on) {
    if (on == metric_meter_) return;
    metric_meter_ = on;
    if (metric_) setText(shown(value_));
    recompute_flags();
}

void TRealEdit::setImperialFeet(bool on) {
    if (on == imperial_feet_) return;
    imperial_feet_ = on;
    if (!metric_) setText(shown(value_));
    recompute_flags();
}

} // namespace zeran
