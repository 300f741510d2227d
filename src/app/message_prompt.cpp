#include "app/message_prompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace zeran {

namespace {

QMessageBox::Icon icon_of(MessageKind k) {
    switch (k) {
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
    return QMessageBox::Ok;
}

// Core texts end lines with CR LF or CR alone.
QString shown_text(const std::string& s) {
    QString t = QString::fromStdString(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace

Answer MessagePrompt::ask(MessageKind kind, const std::string& text,
                          const std::vector<Answer>& buttons) {
    QMessageBox box(icon_of(kind), QApplication::applicationDisplayName(), shown_text(text),
                    QMessageBox::NoButton, parent_.data());
    const std::vector<Answer> offered = buttons.empty() ? std::vector{Answer::Ok} : buttons;
    for (Answer a : offered) box.addButton(button_of(a));
    box.setDefaultButton(button_of(offered.front()));
    const int chosen = box.exec();
    for (Answer a : offered)
        if (chosen == button_of(a)) return a;
    // Closed without a button: the most cautious answer offered.
    for (Answer a : {Answer::Cancel, Answer::No, Answer::Abort})
        for (Answer o : offered)
            if (o == a) return a;
    return offered.back();
}

void MessagePrompt::tell(MessageKind kind, const std::string& text) {
    QMessageBox box(icon_of(kind), QApplication::applicationDisplayName(), shown_text(text),
                    QMessageBox::Ok, parent_.data());
    box.exec();
}

int MessagePrompt::choose(const std::string& title, const std::vector<std::string>& options,
                          int preselected) {
    QStringList items;
    for (const std::string& o : options) items << QString::fromStdString(o);
    bool ok = false;
    const QString picked =
        QInputDialog::getItem(parent_.data(), QString::fromStdString(title), QString(), items,
                              std::max(0, preselected), false, &ok);
    if (!ok) return -1;
    return static_cast<int>(items.indexOf(picked));
}

} // namespace zeran
