#include "app/batch_prompt.h"

#include "app/batch.h"

#include <algorithm>
#include <ostream>

namespace zeran {

namespace {

const char* answer_text(Answer a) {
    switch (a) {
    case Answer::Ok:
        return "OK";
    case Answer::Cancel:
        return "Cancel";
    case Answer::Yes:
        return "Yes";
    case Answer::No:
        return "No";
    case Answer::Abort:
        return "Abort";
    case Answer::Retry:
        return "Retry";
    case Answer::Ignore:
        return "Ignore";
    case Answer::All:
        return "All";
    }
    return "OK";
}

const char* kind_text(MessageKind k) {
    switch (k) {
    case MessageKind::Information:
        return "";
    case MessageKind::Warning:
        return "warning: ";
    case MessageKind::Error:
        return "error: ";
    case MessageKind::Confirmation:
        return "question: ";
    }
    return "";
}

} // namespace

Answer BatchPrompt::ask(MessageKind kind, const std::string& text,
                        const std::vector<Answer>& buttons) {
    Answer a = Answer::Ok;
    if (!buttons.empty() && std::find(buttons.begin(), buttons.end(), Answer::Ok) == buttons.end())
        a = buttons.front();
    ++warnings_;
    err_ << "zeran: " << kind_text(kind) << one_line(text) << " [" << answer_text(a) << "]\n";
    return a;
}

void BatchPrompt::tell(MessageKind kind, const std::string& text) {
    if (kind != MessageKind::Information) ++warnings_;
    err_ << "zeran: " << kind_text(kind) << one_line(text) << '\n';
}

int BatchPrompt::choose(const std::string& title, const std::vector<std::string>& options,
                        int preselected) {
    err_ << "zeran: " << one_line(title) << " [";
    if (preselected >= 0 && preselected < static_cast<int>(options.size()))
        err_ << one_line(options[static_cast<std::size_t>(preselected)]);
    err_ << "]\n";
    return preselected;
}

} // namespace zeran
