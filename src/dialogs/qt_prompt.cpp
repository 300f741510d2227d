#include "dialogs/qt_prompt.h"

#include "dialogs/before_after_form.h"
#include "dialogs/choice_form.h"
#include "dialogs/paste_form.h"

#include <QCoreApplication>
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
    return ask_in(title_, kind, text, buttons);
}

Answer QtPrompt::ask_titled(const std::string& caption, MessageKind kind, const std::string& text,
                            const std::vector<Answer>& buttons) {
    return ask_in(QString::fromStdString(caption), kind, text, buttons);
}

Answer QtPrompt::ask_in(const QString& caption, MessageKind kind, const std::string& text,
                        const std::vector<Answer>& buttons) {
    const std::vector<Answer> offered = buttons.empty() ? std::vector<Answer>{Answer::Ok} : buttons;
    QMessageBox box(icon_of(kind), caption, shown_text(text), QMessageBox::NoButton, parent_);
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

int QtPrompt::choose(const std::string& question, const std::vector<std::string>& options,
                     int preselected) {
    if (options.empty()) return -1;
    const QString text = shown_text(question);
    // The two questions with dialogs of their own are known by their answers.
    if (options == TBeforeAfter::Answers()) {
        TBeforeAfter form(parent_, text);
        return form.Execute() == InsertPlace::Before ? 0 : 1;
    }
    if (options == TPasteForm::Answers()) {
        TPasteForm form(parent_, text);
        switch (form.Execute()) {
        case PasteResult::Append:
            return 0;
        case PasteResult::Insert:
            return 1;
        case PasteResult::Replace:
            return 2;
        case PasteResult::Cancel:
            return 3;
        }
        return 3;
    }
    QStringList answers;
    for (const std::string& o : options) answers << QString::fromStdString(o);
    const int chosen = preselected >= 0 && preselected < answers.size() ? preselected : 0;
    TChoiceForm form(title_, text, answers, chosen, -1, parent_);
    return form.Choose();
}

} // namespace zeran
