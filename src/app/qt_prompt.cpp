#include "app/qt_prompt.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace zeran {

namespace {

QMessageBox::Icon icon_of(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton button_of(Answer a) {
    switch (a) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Abort:
        return QMessageBox::Abort;
    case Answer::Retry:
        return QMessageBox::Retry;
    case Answer::Ignore:
        return QMessageBox::Ignore;
    case Answer::All:
        return QMessageBox::YesToAll;
    }
    return QMessageBox::NoButton;
}

// Core texts end lines with CR LF or CR alone.
QString shown_text(const std::string& s) {
    QString t = QString::fromStdString(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace

QtPrompt::QtPrompt(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {
    if (title_.isEmpty()) title_ = QCoreApplication::translate("TMainForm", "Spindra Turning");
}

Answer QtPrompt::ask(MessageKind kind, const std::string& text,
                     const std::vector<Answer>& buttons) {
    const std::vector<Answer> offered = buttons.empty() ? std::vector<Answer>{Answer::Ok} : buttons;
    QMessageBox box(icon_of(kind), title_, shown_text(text), QMessageBox::NoButton, parent_);
    for (Answer a : offered) box.addButton(button_of(a));
    box.setDefaultButton(button_of(offered.front()));
    const int chosen = box.exec();
    for (Answer a : offered)
        if (chosen == button_of(a)) return a;
    // Closing the box counts as its cancelling button, else the last one.
    for (Answer a : offered)
        if (a == Answer::Cancel || a == Answer::No) return a;
    return offered.back();
}

void QtPrompt::tell(MessageKind kind, const std::string& text) {
    QMessageBox box(icon_of(kind), title_, shown_text(text), QMessageBox::Ok, parent_);
    box.exec();
}

int QtPrompt::choose(const std::string& title, const std::vector<std::string>& options,
                     int preselected) {
    QStringList items;
    for (const std::string& o : options) items << QString::fromStdString(o);
    if (items.isEmpty()) return -1;
    bool ok = false;
    const QString picked =
        QInputDialog::getItem(parent_, QString::fromStdString(title), QString(), items,
                              preselected >= 0 && preselected < items.size() ? preselected : 0,
                              /*editable=*/false, &ok);
    return ok ? static_cast<int>(items.indexOf(picked)) : -1;
}

} // namespace zeran
